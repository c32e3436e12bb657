// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QExplicitlySharedDataPointer>
#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QSharedData>
#include <QString>
#include <QVariant>
#include <QtPlugin>
#include <utility>

class QWidget;

/// The contract between the Vandrillo tray-icon control and the programs that host it.
///
/// A host loads the plugin whose metadata carries "ProgId": "Vandril.Vandrillo", asks its
/// VandrilloFactory for a control and then reaches everything else by name through Qt's
/// meta-object system:
///
/// - properties `TrayIcon` (Vandril::PictureRef), `TrayTip` (QString) and `TrayVisible` (bool),
///   each with a notify signal `<name>Changed()`;
/// - the invokable method `ShowAboutBox()`;
/// - the invokable methods `InitProperties()`, `ReadProperties(Vandril::PropertyBag*)` and
///   `WriteProperties(Vandril::PropertyBag*)`;
/// - the signals `MouseMove(int Id)`, `MouseDown(short Button, int Id)`,
///   `MouseUp(short Button, int Id)` and `MouseDblClick(short Button, int Id)`, where `Button` is
///   1 for the left and 2 for the right mouse button and `Id` is the icon's id (0);
/// - the read-only property `TrayClickPos` (QPoint): while one of those signals is emitted,
///   where on the screen the notification area saw the click, or (0, 0) when it did not say.
///
/// This header depends on Qt alone, so a host links nothing of the control.
namespace Vandril {

/// A shared, reference-counted picture. Hosts and controls pass pictures by reference: the
/// control keeps the very object the host assigned, so identity can be compared.
class Picture : public QSharedData
{
public:
    /// The kind of picture; only `Icon` pictures can be shown in the notification area.
    enum Type { None = 0, Bitmap = 1, Icon = 3 };

    Picture() = default;
    Picture(Type type, const QIcon &image) : m_type(type), m_image(image) {}

    Type type() const { return m_type; }
    QIcon image() const { return m_image; }

private:
    Type m_type = None;
    QIcon m_image;
};

/// A reference to a picture, or none (a null pointer).
using PictureRef = QExplicitlySharedDataPointer<Picture>;

/// Creates a new picture object and returns the first reference to it.
inline PictureRef makePicture(Picture::Type type, const QIcon &image)
{
    return PictureRef(new Picture(type, image));
}

/// What a control may ask of the site that hosts it.
class HostSite
{
public:
    virtual ~HostSite() = default;
    /// True when the host runs the control (run mode), false in a form designer.
    virtual bool ambientUserMode() const = 0;
};

/// A control's saved property values: values addressed by key, where keys are compared
/// without regard to case. Writing a key that is already present replaces its value.
class PropertyBag
{
public:
    /// The value stored under `key`, or `defaultValue` when the key is missing.
    QVariant ReadProperty(const QString &key, const QVariant &defaultValue = {}) const
    {
        const qsizetype at = indexOf(key);
        return at < 0 ? defaultValue : m_entries.at(at).second;
    }

    /// Stores `value` under `key`.
    void WriteProperty(const QString &key, const QVariant &value)
    {
        const qsizetype at = indexOf(key);
        if (at < 0)
            m_entries.append({key, value});
        else
            m_entries[at].second = value;
    }

    bool contains(const QString &key) const { return indexOf(key) >= 0; }

    /// The keys in the order they were first written.
    QStringList keys() const
    {
        QStringList result;
        for (const auto &entry : m_entries)
            result.append(entry.first);
        return result;
    }

private:
    qsizetype indexOf(const QString &key) const
    {
        for (qsizetype i = 0; i < m_entries.size(); ++i) {
            if (m_entries.at(i).first.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    QList<std::pair<QString, QVariant>> m_entries;
};

/// Implemented by the plugin: creates controls.
class VandrilloFactory
{
public:
    virtual ~VandrilloFactory() = default;

    /// Creates a control as a child of `parent`. `site` answers the ambient user mode and
    /// must outlive the control (null means run mode). Without `saved` the control starts
    /// from its initial properties; otherwise it reads its properties from `saved`.
    virtual QWidget *createControl(QWidget *parent, HostSite *site,
                                   const PropertyBag *saved = nullptr) = 0;
};

/// The programmatic identifier that names the control in the plugin's metadata ("ProgId").
inline constexpr char ProgId[] = "Vandril.Vandrillo";

} // namespace Vandril

#define Vandril_VandrilloFactory_iid "org.scrivel.Vandril.VandrilloFactory/1.0"
Q_DECLARE_INTERFACE(Vandril::VandrilloFactory, Vandril_VandrilloFactory_iid)

Q_DECLARE_METATYPE(Vandril::PictureRef)
Q_DECLARE_METATYPE(Vandril::PropertyBag *)
