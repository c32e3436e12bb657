// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1definition.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace Form1Definition {

Vandril::PropertyBag savedProperties(const QString &controlName)
{
    Vandril::PropertyBag bag;
    QFile file(QStringLiteral(":/platform/form1.json"));
    if (!file.open(QIODevice::ReadOnly))
        return bag;
    const QJsonObject control = QJsonDocument::fromJson(file.readAll())
                                    .object()
                                    .value(QStringLiteral("Form1"))
                                    .toObject()
                                    .value(controlName)
                                    .toObject();
    for (auto it = control.begin(); it != control.end(); ++it) {
        // A null value is a picture property saved as no picture.
        if (it.value().isNull())
            bag.WriteProperty(it.key(), QVariant::fromValue(Vandril::PictureRef()));
        else
            bag.WriteProperty(it.key(), it.value().toVariant());
    }
    return bag;
}

} // namespace Form1Definition
