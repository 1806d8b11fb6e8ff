#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The interface's symbols, named as the design names them ("play.fill"), drawn with Debian's Material
// Design icon font. The font is loaded from its installed file, and every symbol is a code point of
// that font (never a ligature name, so no text shaping decides which glyph appears).
class Icons final : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString family READ family CONSTANT)
    Q_PROPERTY(QStringList names READ names CONSTANT)

public:
    using QObject::QObject;

    // Adds the font to the application's fonts once; its family name, empty when the file is missing.
    static QString load();
    [[nodiscard]] static QString fontPath();
    [[nodiscard]] static std::optional<char32_t> codePoint(const QString &name);
    // Every symbol name of the table, sorted.
    [[nodiscard]] static QStringList names();

    [[nodiscard]] QString family() const { return load(); }
    // The glyph of `name` as text; a name the table lacks draws nothing and is a QML warning.
    Q_INVOKABLE QString glyph(const QString &name) const;
};
