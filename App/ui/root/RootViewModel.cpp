#include "RootViewModel.h"

#include "coordinator/AppState.h"

#include <QStringList>

RootViewModel::RootViewModel(AppState *state, std::function<void(const QString &)> receive, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_receive(std::move(receive))
    , m_toastTimer(this)
{
    m_toastTimer.setObjectName(QStringLiteral("toastTimer"));
    m_toastTimer.setSingleShot(true);
    m_toastTimer.setInterval(toastMs);
    connect(&m_toastTimer, &QTimer::timeout, this, [this] { m_state->setToast(std::nullopt); });
    connect(state, &AppState::setupDoneChanged, this, &RootViewModel::setupDoneChanged);
    connect(state, &AppState::toastChanged, this, &RootViewModel::followToast);
    followToast();
}

bool RootViewModel::setupDone() const
{
    return m_state->setupDone();
}

QString RootViewModel::toast() const
{
    return m_state->toastText();
}

void RootViewModel::drop(const QList<QUrl> &urls, const QString &text)
{
    if (urls.isEmpty()) {
        m_receive(text);
        return;
    }
    QStringList links;
    for (const QUrl &url : urls)
        links.append(url.toString());
    m_receive(links.join(QLatin1Char('\n')));
}

void RootViewModel::followToast()
{
    const std::optional<QString> &toast = m_state->toast();
    if (toast != m_waitingToast) {
        m_waitingToast = toast;
        if (toast)
            m_toastTimer.start();
        else
            m_toastTimer.stop();
    }
    Q_EMIT toastChanged();
}
