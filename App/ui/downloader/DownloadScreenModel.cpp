#include "DownloadScreenModel.h"

#include "coordinator/AppState.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

DownloadScreenModel::DownloadScreenModel(AppState &state, int delayMs, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_form(state)
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(delayMs);
    connect(&m_delay, &QTimer::timeout, this, &DownloadScreenModel::fetch);
    connect(&m_state, &AppState::urlTextChanged, this, &DownloadScreenModel::restartDelay);
    connect(&m_state, &AppState::urlTextChanged, this, &DownloadScreenModel::urlTextChanged);
    connect(&m_state, &AppState::canDownloadChanged, this, &DownloadScreenModel::canDownloadChanged);
    connect(&m_state, &AppState::fetchStateChanged, this, &DownloadScreenModel::fetchStateMoved);
    connect(&m_state, &AppState::infoChanged, this, &DownloadScreenModel::fetchStateMoved);
}

void DownloadScreenModel::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (shown)
        m_delay.start();
    else
        m_delay.stop();
    fetchStateMoved();
    Q_EMIT shownChanged();
}

QString DownloadScreenModel::urlText() const
{
    return m_state.urlText();
}

void DownloadScreenModel::setUrlText(const QString &text)
{
    m_state.setUrlText(text);
}

bool DownloadScreenModel::canDownload() const
{
    return m_state.canDownload();
}

bool DownloadScreenModel::hasMedia() const
{
    return m_state.info().has_value();
}

QString DownloadScreenModel::stateKind() const
{
    switch (m_state.fetchState().kind) {
    case FetchState::Kind::Loading: return QStringLiteral("loading");
    case FetchState::Kind::Failed: return QStringLiteral("failed");
    case FetchState::Kind::Loaded: return QStringLiteral("loaded");
    case FetchState::Kind::Idle: break;
    }
    return QStringLiteral("placeholder");
}

QString DownloadScreenModel::failure() const
{
    return m_state.fetchState().message;
}

void DownloadScreenModel::fetchNow()
{
    fetch();
}

void DownloadScreenModel::paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText())
        m_state.receive(data->text());
}

void DownloadScreenModel::clear()
{
    m_state.setUrlText(QString());
    m_state.info_reset();
}

void DownloadScreenModel::download()
{
    if (m_state.canDownload())
        m_state.downloadPressed();
}

void DownloadScreenModel::fetch()
{
    Q_EMIT fetchRequested();
    m_state.fetch();
}

void DownloadScreenModel::restartDelay()
{
    if (m_shown)
        m_delay.start();
}

void DownloadScreenModel::fetchStateMoved()
{
    m_form.setShown(m_shown && hasMedia() && m_state.fetchState().kind == FetchState::Kind::Loaded);
    Q_EMIT stateKindChanged();
}
