#pragma once

#include "ui/downloader/ComponentRowPresentation.h"

#include <QList>
#include <QObject>
#include <QVariantList>

#include <functional>

class DependencyManager;

// The first-run setup screen: overall progress, the current step, one row per tool and, after a
// failed install, Retry. Follows the tool manager; the retry itself is the coordinator's.
class SetupViewModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString intro READ intro CONSTANT)
    Q_PROPERTY(double overall READ overall NOTIFY changed)
    Q_PROPERTY(QString percentText READ percentText NOTIFY changed)
    Q_PROPERTY(QString current READ current NOTIFY changed)
    Q_PROPERTY(QVariantList rows READ rowVariants NOTIFY changed)
    // The failure block (the red text and Retry) shows.
    Q_PROPERTY(bool failed READ failed NOTIFY changed)
    Q_PROPERTY(bool retryEnabled READ retryEnabled NOTIFY changed)

public:
    // `retrySetup` starts the coordinator's retry of the whole setup; it is not awaited.
    SetupViewModel(DependencyManager *deps, std::function<void()> retrySetup, QObject *parent = nullptr);

    [[nodiscard]] static QString intro();
    [[nodiscard]] double overall() const;
    [[nodiscard]] QString percentText() const;
    [[nodiscard]] QString current() const;
    [[nodiscard]] QList<ComponentRowPresentation> rows() const;
    [[nodiscard]] QVariantList rowVariants() const;
    [[nodiscard]] bool failed() const;
    [[nodiscard]] bool retryEnabled() const;

    // Retry, while it is enabled.
    Q_INVOKABLE void retry();

Q_SIGNALS:
    void changed();

private:
    DependencyManager *m_deps;
    std::function<void()> m_retrySetup;
};
