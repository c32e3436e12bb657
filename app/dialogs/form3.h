// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "memorystatus.h"
#include "twips.h"

#include <QDialog>
#include <QImage>
#include <QLocale>
#include <QTimer>
#include <array>
#include <optional>

class HelpLauncher;
class QLabel;
class QPushButton;
class ScreenMetrics;

/// The about window "Informazioni su...": the program's name and version, a
/// notice typed out one character per tick of Timer1, and, once "&Memoria" has
/// enlarged the window, three memory figures refreshed at every tick. Timer1
/// ticks every millisecond while typing and every 50 ms once it is done.
class Form3 : public QDialog
{
    Q_OBJECT
public:
    /// The typed notice: "§" ends a line and turns it white.
    static const QString kNotice;
    /// Outer height once the memory figures are shown, in twips.
    static constexpr int kEnlargedHeight = 4425;

    /// Builds the window centred on the work area of @p screen, with Timer1
    /// running. Figures come from @p memory, grouped with @p locale's
    /// separator; "&Crediti" opens the credits topic through @p help.
    Form3(MemoryStatus &memory, HelpLauncher &help, const ScreenMetrics &screen,
          QWidget *parent = nullptr, const QLocale &locale = QLocale::system());

    /// @p bytes in whole digits grouped by three with @p locale's separator.
    static QString groupedFigure(qint64 bytes, const QLocale &locale);
    /// The background picture, 397 × 270 pixels.
    static QImage backgroundPicture();

    /// Elements 0 to 5 and 7; there is no element 6.
    std::array<QLabel *, 8> Label1{};
    QPushButton *Command1; ///< OK
    QPushButton *Command2; ///< "&Crediti"
    QPushButton *Command3; ///< "&Memoria"
    QLabel *Label2;        ///< total physical memory
    QLabel *Label3;        ///< available page file
    QLabel *Label4;        ///< available physical memory
    QLabel *Image1;
    QLabel *Image2;
    QTimer Timer1;

    /// The typing position: characters of the notice typed so far, and one
    /// more once typing has finished.
    int typingPosition() const { return m_position; }
    /// The Label1 element being typed.
    int currentLine() const { return m_line; }

public Q_SLOTS:
    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createLabels();
    void createButtons();
    void createMemoryArea();
    QLabel *addLabel(int left, int top, int width, int height);
    void placeCentred(const ScreenMetrics &screen);
    void typeNextCharacter();
    void refreshMemory();

    MemoryStatus &m_memory;
    HelpLauncher &m_help;
    QLocale m_locale;
    Twips m_twips;
    QImage m_background;
    std::optional<MemoryFigures> m_shownFigures;
    qint16 m_position = 0;
    int m_line = 3;
};
