#pragma once

#include "interchange/Import.h"

namespace velloria {

// What the export dialog shows when it opens, from the preferences and what this run chose.
ExchangeChoice exportDialogChoice(ExchangeLibrary& model);

// OK of the export dialog: stores the check boxes, writes the whole library to every checked
// target with a location (nothing when the library has no folder), then stores the locations.
void exportBookmarks(ExchangeLibrary& model, const ExchangeChoice& choice, const ProgressFunction& progress = {});

// One target alone, as the command-line tool exports.
void exportTarget(ExchangeLibrary& model, ImportSource target, const std::filesystem::path& location,
                  const ProgressFunction& progress = {});

} // namespace velloria
