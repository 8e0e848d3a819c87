#pragma once

#include "platform/FileIO.h"

#include <algorithm>
#include <vector>

namespace velloria::test {

// Fails every file step of the given kinds with the error for the object's life: a read-only home
// (EACCES on creating files and directories and deleting) or a full disk (ENOSPC on writing), for
// any user and without a mount.
class FailingSteps final : public FileStepWatcher {
public:
    FailingSteps(std::vector<FileStep> steps, int error) : m_steps(std::move(steps)), m_error(error)
    {
        setFileStepWatcher(this);
    }
    ~FailingSteps() override { setFileStepWatcher(nullptr); }
    FailingSteps(const FailingSteps&) = delete;
    FailingSteps& operator=(const FailingSteps&) = delete;
    int at(FileStep step, const std::filesystem::path&, const std::filesystem::path&) override
    {
        return std::find(m_steps.begin(), m_steps.end(), step) != m_steps.end() ? m_error : 0;
    }

private:
    std::vector<FileStep> m_steps;
    int m_error;
};

} // namespace velloria::test
