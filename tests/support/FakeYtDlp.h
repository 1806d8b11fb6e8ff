#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>
#include <QStringList>

class TestEnvironment;

// A stand-in for yt-dlp, installed in the test's "Tools" folder. It records every run's arguments
// and answers from files beside it (the child's environment is fixed, so nothing can be passed
// through variables): with the answer given for the run's target (its last argument, such as a
// search or a mix link) when there is one, else with the common answer. While sleeping it waits
// in a child of its own, whose id it writes down.
class FakeYtDlp
{
public:
    explicit FakeYtDlp(const TestEnvironment &environment);

    // The answer of every run whose target has none of its own.
    void answer(const QByteArray &out, const QByteArray &err = {}, int exitCode = 0) const;
    void answer(const QString &target, const QByteArray &out, const QByteArray &err = {}, int exitCode = 0) const;
    void setSleeping() const;

    // Each run's arguments after the base arguments, in the order the runs started; a run whose
    // arguments do not open with the base arguments shows as "<base arguments missing>".
    [[nodiscard]] QList<QStringList> runs() const;
    // The last run's, or "<not run>".
    [[nodiscard]] QStringList arguments() const;
    // yt-dlp's flat listing of `entries` (JSON objects), with a title when one is given.
    [[nodiscard]] static QByteArray listing(const QJsonArray &entries, const QString &title = QString());
    // What the music client asks for a listing of `target` cut at `end` entries.
    [[nodiscard]] static QStringList listingArguments(int end, const QString &target);

    // The id of the sleeping child, or 0 while none has started.
    [[nodiscard]] qint64 child() const;
    // The same, waiting up to 10 s for one to start.
    [[nodiscard]] qint64 waitForChild() const;

private:
    [[nodiscard]] QString file(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;

    QString m_dir;
};
