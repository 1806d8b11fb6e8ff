#include "NamePromptModel.h"

#include "coordinator/AppState.h"

namespace {
bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}
} // namespace

NamePromptModel::NamePromptModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{
    connect(state, &AppState::namePromptChanged, this, &NamePromptModel::follow);
    follow();
}

bool NamePromptModel::shown() const
{
    return m_state->namePrompt().has_value();
}

QString NamePromptModel::title() const
{
    return shown() ? m_state->namePrompt()->title : QString();
}

QString NamePromptModel::action() const
{
    return shown() ? m_state->namePrompt()->action : QString();
}

void NamePromptModel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    Q_EMIT textChanged();
}

QString NamePromptModel::trimmed(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.sliced(start, end - start);
}

void NamePromptModel::commit()
{
    const QString name = trimmed(m_text);
    if (!shown() || name.isEmpty())
        return;
    // Cleared first: `done` may ask for the next name, and a second Return finds nothing to confirm.
    const auto done = m_state->namePrompt()->done;
    m_state->setNamePrompt(std::nullopt);
    if (done)
        done(name);
}

void NamePromptModel::cancel()
{
    if (shown())
        m_state->setNamePrompt(std::nullopt);
}

void NamePromptModel::follow()
{
    const QUuid id = shown() ? m_state->namePrompt()->id : QUuid();
    if (id == m_shownId)
        return;
    m_shownId = id;
    if (shown())
        setText(m_state->namePrompt()->initial);
    Q_EMIT promptChanged();
}
