#pragma once

#include <QObject>
#include <QUuid>

class AppState;

// The name sheet of the music window, for whichever prompt AppState holds: shown while one is
// set, its field starting at the prompt's initial text. A prompt's `done` runs at most once, with
// the trimmed text, after the prompt has been cleared, so `done` may set the next prompt; the
// sheet never clears or calls a prompt that has been replaced meanwhile.
class NamePromptModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool shown READ shown NOTIFY promptChanged)
    Q_PROPERTY(QString title READ title NOTIFY promptChanged)
    Q_PROPERTY(QString action READ action NOTIFY promptChanged)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    // The confirming button is enabled: the trimmed text is not empty.
    Q_PROPERTY(bool canCommit READ canCommit NOTIFY textChanged)

public:
    explicit NamePromptModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] bool shown() const;
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString action() const;
    [[nodiscard]] QString text() const { return m_text; }
    void setText(const QString &text);
    [[nodiscard]] bool canCommit() const { return !trimmed(m_text).isEmpty(); }

    // Without leading and trailing spaces and tabs; line breaks and inner spaces stay.
    [[nodiscard]] static QString trimmed(const QString &text);

    // Return in the field and the confirming button: closes the sheet, then hands the trimmed
    // text to the prompt. Blank text does nothing.
    Q_INVOKABLE void commit();
    // Escape and "Cancel": closes the sheet; the prompt is never called.
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void promptChanged();
    void textChanged();

private:
    void follow();

    AppState *m_state;
    // The prompt whose text the field holds; a new prompt starts the field anew.
    QUuid m_shownId;
    QString m_text;
};
