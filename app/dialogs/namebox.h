// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QString>

/// The entry editor's name box: a single-line box for an entry's name,
/// which is the whole captured text unless the user renamed it.
///
/// A name too long to lay out quickly is shown only in part and cannot be
/// edited, so that opening it never stalls the window; name() still gives
/// the whole name back.
class NameBox : public QLineEdit
{
    Q_OBJECT
public:
    /// Names up to this many characters are shown whole and can be edited.
    static constexpr qsizetype kEditableLength = 100'000;
    /// How much of a longer name is shown.
    static constexpr qsizetype kPartLength = 2'000;

    explicit NameBox(const QString &text, QWidget *parent = nullptr);

    /// Shows @p name; textChanged() is emitted once when it differs from the
    /// text shown before.
    void setName(const QString &name);
    /// The name shown in part while the box holds it unchanged, else the
    /// box's text.
    QString name() const;
    bool isShownInPart() const { return m_inPart; }

private:
    QString m_name;
    QString m_shown;
    bool m_inPart = false;
};
