#include "TestApp.h"

#include "FakeAudioBackend.h"
#include "FakeCatalog.h"

#include <QCoroTask>
#include <QTest>

namespace {
AppState::Backends fakeBackends()
{
    AppState::Backends backends;
    backends.catalog = std::make_unique<FakeCatalog>();
    backends.audio = std::make_unique<FakeAudioBackend>();
    return backends;
}
} // namespace

TestApp::TestApp()
    : app(fakeBackends())
{}

bool TestApp::finishSetup()
{
    // A check that is still running (the window's, say) would make the next one return at once.
    if (!QTest::qWaitFor([this] { return !app.state().deps().busy(); }, 60000))
        return false;
    mirror.installFakes(env, QStringLiteral("2026.08.19"));
    QCoro::waitFor(app.state().retrySetup());
    return app.state().setupDone();
}
