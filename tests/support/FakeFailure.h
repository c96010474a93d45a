#pragma once
#include <QString>
#include <functional>

namespace testsupport {

// What a fake does when the code under test asks something the test did not script.
// The default fails the running Qt test function; tests of the fakes themselves plug
// in their own hook.
using FailureHook = std::function<void(const QString &message)>;
void failRunningTest(const QString &message);

} // namespace testsupport
