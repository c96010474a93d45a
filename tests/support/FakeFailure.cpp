#include "tests/support/FakeFailure.h"

#include <QTest>

namespace testsupport {

void failRunningTest(const QString &message)
{
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

} // namespace testsupport
