#include "QmlHarness.h"

#include <QColor>
#include <QDirIterator>
#include <QFile>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// The lines of `source` that declare a Text or a Label left free to read its text as markup: one
// whose own bindings set no textFormat, or a format other than plain text without a comment above
// it saying why.
QList<int> markupTexts(const QString &source)
{
    static const QRegularExpression declaration(QStringLiteral("(?:^|[\\s:])(?:Text|Label)\\s*\\{"));
    QList<int> found;
    for (auto match = declaration.globalMatch(source); match.hasNext();) {
        const qsizetype start = match.next().capturedEnd() - 1;
        const qsizetype lineStart = source.lastIndexOf(QLatin1Char('\n'), start) + 1;
        if (source.mid(lineStart, start - lineStart).contains(QLatin1String("//")))
            continue;
        // The object's own statements: what stands at its first level of braces, comments kept.
        QString own;
        int depth = 0;
        for (qsizetype i = start; i < source.size(); ++i) {
            const QChar c = source[i];
            if (c == QLatin1Char('/') && source.mid(i, 2) == QLatin1String("//")) {
                qsizetype end = source.indexOf(QLatin1Char('\n'), i);
                end = end < 0 ? source.size() : end;
                if (depth == 1)
                    own += source.mid(i, end - i);
                i = end - 1;
                continue;
            }
            depth += c == QLatin1Char('{') ? 1 : c == QLatin1Char('}') ? -1 : 0;
            if (depth == 0)
                break;
            if (depth == 1 && c != QLatin1Char('{'))
                own += c == QLatin1Char(';') ? QLatin1Char('\n') : c;
        }
        const QStringList statements = own.split(QLatin1Char('\n'));
        bool plain = false;
        for (qsizetype i = 0; i < statements.size(); ++i) {
            const QString statement = statements[i].trimmed();
            if (statement.startsWith(QLatin1String("textFormat:")))
                plain = statement == QLatin1String("textFormat: Text.PlainText") ||
                        (i > 0 && statements[i - 1].trimmed().startsWith(QLatin1String("//")));
        }
        if (!plain)
            found.append(int(source.left(start).count(QLatin1Char('\n'))) + 1);
    }
    return found;
}

} // namespace

// The palette holds the design's component values exactly (not their nearest 8-bit values), and
// every text shows what it is given as plain text.
class TestTheme : public QObject
{
    Q_OBJECT

    QmlHarness m_harness;
    QObject *m_theme = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        QmlHarness::prepareApplication();
        QQmlComponent component(&m_harness.engine());
        component.setData("import QtQml\nimport Morvane\nQtObject { property var theme: Theme }", QUrl());
        QObject *holder = component.create();
        QVERIFY2(holder, qPrintable(component.errorString()));
        holder->setParent(&m_harness.engine());
        m_theme = holder->property("theme").value<QObject *>();
        QVERIFY(m_theme);
    }
    void init() { QmlHarness::failOnWarnings(); }

    void colours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("bg") << QStringLiteral("bg") << QColor::fromRgbF(0.035f, 0.035f, 0.043f, 1);
        QTest::newRow("side") << QStringLiteral("side") << QColor::fromRgbF(0.06f, 0.06f, 0.072f, 1);
        QTest::newRow("panel") << QStringLiteral("panel") << QColor::fromRgbF(1, 1, 1, 0.055f);
        QTest::newRow("stroke") << QStringLiteral("stroke") << QColor::fromRgbF(1, 1, 1, 0.08f);
        QTest::newRow("accent") << QStringLiteral("accent") << QColor::fromRgbF(1.0f, 0.34f, 0.42f, 1);
        QTest::newRow("dim") << QStringLiteral("dim") << QColor::fromRgbF(1, 1, 1, 0.55f);
    }
    void colours()
    {
        QFETCH(QString, name);
        QFETCH(QColor, expected);
        const QColor colour = m_theme->property(qPrintable(name)).value<QColor>();
        QCOMPARE(colour.rgba64(), expected.rgba64());
        QCOMPARE(colour.spec(), QColor::Rgb);
    }

    // Dim lightens what lies beneath: over the background it is a mid grey, not white.
    void dimOverBackgroundIsMidGrey()
    {
        const QColor bg = m_theme->property("bg").value<QColor>();
        const QColor dim = m_theme->property("dim").value<QColor>();
        const double grey = dim.alphaF() * dim.redF() + (1 - dim.alphaF()) * bg.redF();
        QVERIFY(grey > 0.4 && grey < 0.7);
        QCOMPARE(m_theme->property("accent").value<QColor>().alphaF(), 1.0f);
    }

    void markupTextsAreFound_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QList<int>>("lines");
        QTest::newRow("no format") << QStringLiteral("Item {\n    Text {\n        text: title\n    }\n}")
                                   << QList<int>{2};
        QTest::newRow("plain") << QStringLiteral("Label {\n    text: a\n    textFormat: Text.PlainText\n}")
                               << QList<int>{};
        QTest::newRow("on one line") << QStringLiteral("contentItem: Text { text: a; textFormat: Text.PlainText }")
                                     << QList<int>{};
        QTest::newRow("styled, no reason")
            << QStringLiteral("Text {\n    textFormat: Text.StyledText\n}") << QList<int>{1};
        QTest::newRow("styled, with a reason")
            << QStringLiteral("Text {\n    // Our own bold caption.\n    textFormat: Text.StyledText\n}")
            << QList<int>{};
        QTest::newRow("only a child is plain")
            << QStringLiteral("delegate: Label {\n    Text {\n        textFormat: Text.PlainText\n    }\n}")
            << QList<int>{1};
        QTest::newRow("a comment and other types")
            << QStringLiteral("// Text { shown }\nTextField {\n    text: a\n}\nText.ElideRight") << QList<int>{};
    }
    void markupTextsAreFound()
    {
        QFETCH(QString, source);
        QFETCH(QList<int>, lines);
        QCOMPARE(markupTexts(source), lines);
    }

    // Return and keypad Enter click the focused button of each kind, and in a dialog its default button
    // while the keyboard is in a field; once each.
    void returnClicks_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("key");
        const QByteArray dialog = "Dialog { visible: true; focus: true; defaultButton: yes; TextField { focus: true }\n"
                                  "footer: Button { id: yes; objectName: 'target' } }";
        for (const QByteArray type : {"Button", "ToolButton", "PillButton", "Dialog"}) {
            const QByteArray content = type == "Dialog" ? dialog : type + " { objectName: 'target'; focus: true }";
            QTest::newRow(type + ", Return") << content << int(Qt::Key_Return);
            QTest::newRow(type + ", Enter") << content << int(Qt::Key_Enter);
        }
    }
    void returnClicks()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, key);
        QQmlComponent component(&m_harness.engine());
        component.setData("import QtQuick\nimport QtQuick.Controls\nimport Morvane\nAppWindow {\n" + content + "\n}",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY2(window, qPrintable(component.errorString()));
        window->show();
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QSignalSpy clicks(QmlHarness::findItem(window->contentItem(), QStringLiteral("target")), SIGNAL(clicked()));
        QTest::keyClick(window, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(clicks.size(), 1);
    }

    // What loses the keyboard gives it on, in a window of the style: a control hidden, disabled or
    // destroyed to the next control in drawn order, a popup closed by a button or by Escape to what
    // opened it, a dialog at every opening to its default button; and whatever takes the keyboard
    // is scrolled into view. Each ends on a control showing its ring.
    void keyboardGoesOn_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("ends");
        QTest::newRow("hidden") << "hides"
                                << "Return"
                                << "disables";
        QTest::newRow("disabled") << "disables"
                                  << "Return"
                                  << "destroyed";
        QTest::newRow("destroyed") << "destroyed"
                                   << "Return"
                                   << "opener";
        QTest::newRow("popup closed") << "opener"
                                      << "Return, Return"
                                      << "opener";
        QTest::newRow("popup, Escape") << "opener"
                                       << "Return, Escape"
                                       << "opener";
        QTest::newRow("dialog opened twice") << "openDialog"
                                             << "Return, Tab, Escape, Return"
                                             << "ok";
        QTest::newRow("below the view") << "openDialog"
                                        << "Tab, Tab, Tab, Tab, Tab"
                                        << "deep3";
    }
    void keyboardGoesOn()
    {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, ends);
        QQmlComponent component(&m_harness.engine());
        component.setData(R"(import QtQuick
import QtQuick.Controls
import Morvane
AppWindow {
    width: 200; height: 320
    Column {
        Button { objectName: "hides"; onClicked: visible = false }
        Button { objectName: "disables"; onClicked: enabled = false }
        Loader { id: gone; sourceComponent: Button { objectName: "destroyed"; onClicked: gone.active = false } }
        Button { objectName: "opener"; onClicked: popup.open() }
        Button { objectName: "openDialog"; onClicked: dialog.open() }
        ScrollView {
            objectName: "view"; width: 100; height: 60
            Column { Repeater { model: 5; Button { objectName: "deep" + index; height: 40 } } }
        }
    }
    Popup { id: popup; focus: true; Button { focus: true; onClicked: popup.close() } }
    Dialog { id: dialog; defaultButton: ok; footer: Row { Button { id: ok; objectName: "ok" } Button {} } }
})",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        auto *window = qobject_cast<QQuickWindow *>(object.get());
        QVERIFY2(window, qPrintable(component.errorString()));
        window->show();
        window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QmlHarness::findItem(window->contentItem(), start)->forceActiveFocus(Qt::TabFocusReason);
        QTest::keySequence(window, QKeySequence(keys));
        QTRY_COMPARE(window->activeFocusItem() ? window->activeFocusItem()->objectName() : QString(), ends);
        QQuickItem *focused = window->activeFocusItem();
        QVERIFY(focused->property("visualFocus").toBool());
        const QQuickItem *view = QmlHarness::findItem(window->contentItem(), QStringLiteral("view"));
        const QRectF shown = view->mapRectToScene(view->boundingRect());
        QVERIFY(!view->isAncestorOf(focused) || shown.contains(focused->mapRectToScene(focused->boundingRect())));
    }

    // Titles, messages and help texts come from the web and the user: markup in them is shown, not
    // obeyed (no bold, no remote image).
    void everyTextOfTheModuleIsPlain()
    {
        QStringList offenders;
        int files = 0;
        for (QDirIterator it(QStringLiteral(MORVANE_UI_SOURCE_DIR), {QStringLiteral("*.qml")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext(); ++files) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (int line : markupTexts(QString::fromUtf8(file.readAll())))
                offenders.append(QStringLiteral("%1:%2").arg(file.fileName()).arg(line));
        }
        QVERIFY(files > 50);
        QVERIFY2(offenders.isEmpty(), qPrintable(offenders.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
