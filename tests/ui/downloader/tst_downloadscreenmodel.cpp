#include "AppStateRig.h"
#include "QmlHarness.h"
#include "TestHttpServer.h"
#include "core/SettingsStore.h"
#include "ui/downloader/DownloadScreenModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Short enough to keep the test quick, long enough that the edits below land within it.
constexpr int delayMs = 150;
constexpr int editGapMs = 30;

// Every edit, show and hide of the link bar a case performs, in order.
enum class Step { Edit, Return, Clear, Show, Hide };

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestDownloadScreenModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppStateRig> m_rig;
    std::unique_ptr<DownloadScreenModel> m_model;
    // The link field's text at each fetch the screen asked for.
    QStringList m_fetched;

    AppState &state() { return *m_rig->state; }

    // Lets every pending delay run out.
    void settle() { QTest::qWait(delayMs * 3); }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }

    void init()
    {
        QmlHarness::failOnWarnings();
        m_rig = std::make_unique<AppStateRig>();
        m_model = std::make_unique<DownloadScreenModel>(state(), delayMs);
        m_fetched.clear();
        connect(m_model.get(), &DownloadScreenModel::fetchRequested, this,
                [this] { m_fetched.append(state().urlText()); });
    }

    void cleanup()
    {
        m_model.reset();
        m_rig.reset();
    }

    void debounce_data()
    {
        QTest::addColumn<bool>("shownFirst");
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QStringList>("fetchedBeforeSettling");
        QTest::addColumn<QStringList>("fetched");

        const QList<Step> tenEdits(10, Step::Edit);
        const QString full = u"https://e.test/aaaaaaaaaa"_s;
        QTest::newRow("ten quick edits fetch once, the full text")
            << true << tenEdits << QStringList() << QStringList{full};
        QTest::newRow("clear fetches the empty text later")
            << true << QList<Step>{Step::Edit, Step::Clear} << QStringList() << QStringList{QString()};
        QTest::newRow("hidden before the delay ends: none")
            << true << QList<Step>{Step::Edit, Step::Hide} << QStringList() << QStringList();
        QTest::newRow("edits while hidden: none") << false << QList<Step>{Step::Edit} << QStringList() << QStringList();
        QTest::newRow("shown with a link: one")
            << false << QList<Step>{Step::Edit, Step::Show} << QStringList() << QStringList{u"https://e.test/a"_s};
        QTest::newRow("return after an edit: now and after the delay")
            << true << QList<Step>{Step::Edit, Step::Return} << QStringList{u"https://e.test/a"_s}
            << QStringList{u"https://e.test/a"_s, u"https://e.test/a"_s};
    }

    void debounce()
    {
        QFETCH(bool, shownFirst);
        QFETCH(QList<Step>, steps);
        QFETCH(QStringList, fetchedBeforeSettling);
        QFETCH(QStringList, fetched);

        m_model->setShown(shownFirst);
        settle();
        m_fetched.clear();
        QString text = u"https://e.test/"_s;
        for (const Step step : steps) {
            switch (step) {
            case Step::Edit:
                text += u'a';
                state().setUrlText(text);
                QTest::qWait(editGapMs);
                break;
            case Step::Return: m_model->fetchNow(); break;
            case Step::Clear:
                m_model->clear();
                QCOMPARE(m_model->stateKind(), u"placeholder"_s);
                break;
            case Step::Show: m_model->setShown(true); break;
            case Step::Hide: m_model->setShown(false); break;
            }
        }
        QCOMPARE(m_fetched, fetchedBeforeSettling);
        settle();
        QCOMPARE(m_fetched, fetched);
    }

    void pasteHandsOverTextOnly()
    {
        auto *noText = new QMimeData;
        noText->setData(u"application/octet-stream"_s, "x");
        QGuiApplication::clipboard()->setMimeData(noText);
        state().setUrlText(u"kept"_s);
        m_model->paste();
        QCOMPARE(state().urlText(), u"kept"_s);
        QCOMPARE(state().toastText(), QString());

        QGuiApplication::clipboard()->setText(u"hello"_s);
        m_model->paste();
        QCOMPARE(state().toastText(), u"No valid link found."_s);
    }

    void downloadShortcutNeedsAnEnabledButton()
    {
        QVERIFY(!state().canDownload());
        m_model->download();
        QVERIFY(state().downloads().tasks().isEmpty());
    }

    // The screen itself: the clear button only with text, and Ctrl+Return ignored while a fetch loads.
    void screen()
    {
        QVERIFY(m_rig->makeReady(true));
        TestHttpServer server;
        server.stall(u"/stall.mp4"_s);
        QmlHarness harness;
        std::unique_ptr<QObject> object(
            harness.create(QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/DownloadScreenPage.qml")),
                           {{u"model"_s, QVariant::fromValue(m_model.get())}}));
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(m_model->shown());
        auto *clear = window->findChild<QQuickItem *>(u"clearButton"_s);
        auto *field = window->findChild<QQuickItem *>(u"linkField"_s);
        QVERIFY(clear && field);
        QVERIFY(!clear->isVisible());
        QTRY_VERIFY(field->hasActiveFocus());

        for (const QChar c : server.url(u"/stall.mp4"_s).toString())
            QTest::keyClick(window, c.toLatin1());
        QVERIFY(clear->isVisible());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(m_model->stateKind(), u"loading"_s);
        QTest::keyClick(window, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(state().downloads().tasks().isEmpty());

        object.reset();
        QVERIFY(!m_model->shown());
    }

    void chooseFolder_data()
    {
        QTest::addColumn<QUrl>("answer");
        QTest::addColumn<bool>("stored");

        QTest::newRow("local folder") << QUrl::fromLocalFile(u"/tmp/chosen"_s) << true;
        QTest::newRow("sftp place") << QUrl(u"sftp://host/home/me/Videos"_s) << false;
        QTest::newRow("smb place") << QUrl(u"smb://server/share"_s) << false;
        QTest::newRow("cancel") << QUrl() << false;
    }

    void chooseFolder()
    {
        QFETCH(QUrl, answer);
        QFETCH(bool, stored);

        SettingsStore::set(u"downloadFolder"_s, u"/tmp/before"_s);
        DownloadSettings *settings = m_model->form()->settings();
        QSignalSpy changed(settings->folder(), &Setting::valueChanged);
        settings->chooseFolder(answer);
        const QString expected = stored ? u"/tmp/chosen"_s : u"/tmp/before"_s;
        QCOMPARE(SettingsStore::string(u"downloadFolder"_s), expected);
        QCOMPARE(settings->folder()->value().toString(), expected);
        QCOMPARE(changed.count(), stored ? 1 : 0);
    }
};

QTEST_MAIN(TestDownloadScreenModel)
#include "tst_downloadscreenmodel.moc"
