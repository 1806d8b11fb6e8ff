#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh home, support folder and settings file for one test case: construct one in init()
// (or at the top of a test) and every path the application asks for lies inside it.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    [[nodiscard]] QString root() const { return m_root.path(); }
    [[nodiscard]] QString toolsDir() const;
    // Copies an executable into the "Tools" folder under `name`; returns its new path.
    QString installTool(const QString &name, const QString &sourcePath) const;
    // Writes an executable shell script into the "Tools" folder under `name`.
    QString installScript(const QString &name, const QByteArray &script) const;

private:
    QTemporaryDir m_root;
    QByteArray m_savedEnvironment[4];
};
