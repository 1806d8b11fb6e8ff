#include "QuitController.h"

#include "QuitQuestion.h"
#include "engine/DownloadManager.h"

QuitController::QuitController(DownloadManager &downloads, std::function<void()> savePlayback, QuitQuestion &question,
                               QObject *parent)
    : QObject(parent)
    , m_downloads(downloads)
    , m_savePlayback(std::move(savePlayback))
    , m_question(question)
{
    connect(&m_question, &QuitQuestion::answered, this, &QuitController::answered);
}

void QuitController::requestQuit()
{
    request(true);
}

void QuitController::quitUnasked()
{
    request(false);
}

void QuitController::request(bool personAsking)
{
    if (m_terminated)
        return;
    if (m_asking) {
        // The open question stands for a person's repeat; the system does not wait for an answer.
        if (!personAsking) {
            m_asking = false;
            m_question.withdraw();
            terminate();
        }
        return;
    }
    // Counted before saving: what runs now is what the person would interrupt.
    const int active = m_downloads.activeCount();
    m_savePlayback();
    if (active < 1 || !personAsking) {
        terminate();
        return;
    }
    m_asking = true;
    m_question.ask();
}

void QuitController::answered(bool quit)
{
    if (!m_asking)
        return;
    m_asking = false;
    if (quit)
        terminate();
}

void QuitController::terminate()
{
    m_terminated = true;
    m_savePlayback();
    m_downloads.prepareForTermination();
    Q_EMIT readyToExit();
}
