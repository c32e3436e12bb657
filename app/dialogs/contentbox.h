// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QString>

/// The entry editor's content box: a multi-line box without word wrap.
///
/// It gives back exactly the text it was given as long as the user leaves
/// what it shows unchanged, whatever line breaks or special spaces that text
/// holds. A text too large to lay out quickly is shown only in part and
/// cannot be edited, so that opening it never stalls the window; its whole
/// text is still the one given back.
///
/// Enter is left to the dialog, whose default button takes it; Ctrl+Enter
/// inserts a line break.
class ContentBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    /// Texts up to this many characters, with no line longer than
    /// kEditableLineLength, are shown whole and can be edited.
    static constexpr qsizetype kEditableLength = 1'000'000;
    static constexpr qsizetype kEditableLineLength = 100'000;
    /// How much of a larger text is shown.
    static constexpr qsizetype kPartLength = 50'000;

    explicit ContentBox(QWidget *parent = nullptr);

    /// Shows @p text. Emits textChanged() once when it differs from text(),
    /// and nothing when it is the same.
    void setText(const QString &text);
    /// The text as the box holds it now (see the class comment).
    QString text() const;

    /// True while a text too large to edit is shown in part.
    bool isShownInPart() const { return m_inPart; }
    /// Whether @p text can be shown whole and edited.
    static bool fitsForEditing(const QString &text);
    /// The line break written back for the breaks the user types: CR LF when
    /// the text given held one, LF otherwise.
    QString lineBreak() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString partOf(const QString &text) const;

    QString m_text;
    // The document's own form of what was shown when m_text was set.
    QString m_shownRaw;
    bool m_inPart = false;
    bool m_readOnlyForPart = false;
};
