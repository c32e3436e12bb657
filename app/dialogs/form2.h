// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QRect>

class ContentBox;
class FrameGeometry;
class HelpLauncher;
class HistoryStore;
class NameBox;
class QLabel;
class QAbstractItemView;
class QPushButton;
struct Platform;

/// The entry editor "Contenuto della selezione": the name of the entry
/// selected in the history list above its content.
///
/// In edit mode both boxes can be changed, and closing offers to store the
/// changes into the history. In clipboard view mode (see
/// fillForClipboardView()) the name box is disabled and the content is read
/// only. Every way of closing runs one closing step, which may refuse; Esc
/// never closes. The window's place and size are kept in the settings store
/// between openings, in twips.
class Form2 : public QDialog
{
    Q_OBJECT
public:
    /// The client area of a first opening, in twips.
    static constexpr int kClientWidth = 4680;
    static constexpr int kClientHeight = 3645;

    /// Creates the editor and runs its load step: the stored geometry, the
    /// name box filled with the line selected in @p List1 (whose entries are
    /// those of @p store) and selected whole.
    Form2(Platform &platform, HelpLauncher &help, HistoryStore &store,
          const QAbstractItemView &List1, QWidget *parent = nullptr);
    ~Form2() override;

    /// Edit mode: the content box shows the selected entry's @p content.
    void fillForEditing(const QString &content);
    /// Clipboard view mode: shows the clipboard's @p text under the fixed
    /// name "Scrivel di sistema", read only.
    void fillForClipboardView(const QString &text);

    /// How many times either box's text has changed since the load step
    /// (the fillings included). It stops growing at 32767.
    int changeCount() const { return m_changeCount; }

    QLabel *Label2;
    NameBox *Text2;
    QLabel *Label1;
    ContentBox *Text1;
    QPushButton *Command1; ///< "&Chiudi", the default button
    QPushButton *Command2; ///< "&Guida"

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Placement
    {
        QRect Label2{0, 120, 615, 255};
        QRect Text2{600, 120, 3975, 285};
        QRect Label1{0, 480, 2415, 255};
        QRect Text1{0, 720, 4695, 2415};
        QRect Command1{3720, 3240, 855, 375};
        QRect Command2{2760, 3240, 855, 375};
    };

    void createControls();
    void Form_Load();
    void Form_Resize();
    // The closing step; false when it refuses the closing.
    bool Form_QueryUnload();
    void storeGeometry();
    void countChange();
    void place(QWidget *control, const QRect &twips);
    QRect storableOuterTwips() const;

    Platform &m_platform;
    HelpLauncher &m_help;
    HistoryStore &m_store;
    const QAbstractItemView &m_list;
    FrameGeometry *m_geometry = nullptr;
    Placement m_twips;
    qint16 m_changeCount = 0;
    // The history line the editor was opened on.
    int m_row = -1;
    bool m_closingDone = false;
};
