#include "HeldDownload.h"

#include "TestApp.h"
#include "TestRequests.h"
#include "engine/DownloadManager.h"

#include <QTest>

namespace {
const QString name = QStringLiteral("held");
}

HeldDownload::HeldDownload(TestApp &test)
    : m_test(test)
    , m_fake(test.env)
{
    m_fake.plan(name, "hold\n");
}

HeldDownload::~HeldDownload()
{
    m_fake.release(name);
}

bool HeldDownload::start()
{
    DownloadManager &downloads = m_test.app.state().downloads();
    downloads.enqueue(
        TestRequests::defaultRequest(FakeYtdlp::url(name), m_test.env.root() + QStringLiteral("/Downloads")));
    downloads.start();
    return QTest::qWaitFor([&downloads] { return downloads.activeCount() == 1; }, 10000);
}
