#include "KeyText.h"

#include <QKeySequence>

QString KeyText::native(const QVariant &sequence)
{
    QKeySequence keys;
    if (sequence.typeId() == QMetaType::Int)
        keys = QKeySequence(QKeySequence::StandardKey(sequence.toInt()));
    else if (sequence.typeId() == QMetaType::QString)
        keys = QKeySequence::fromString(sequence.toString(), QKeySequence::PortableText);
    else
        keys = sequence.value<QKeySequence>();
    return keys.toString(QKeySequence::NativeText);
}
