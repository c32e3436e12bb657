// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <algorithm>
#include <array>

class SettingsStore;

// Every setting the program keeps: where it lives in the store, the text a
// missing key reads as and what its texts mean.
namespace Setting {

// A value kept as text, exactly as read.
struct Text
{
    const char *section;
    const char *key;
    // What the key reads as while it is not in the store.
    const char *missing = "-1";

    QString read(const SettingsStore &store) const;
    void write(SettingsStore &store, const QString &text) const;
    bool isMissing(const QString &text) const { return text == QLatin1String(missing); }
};

// On or off, written as one of two texts.
struct Flag : Text
{
    const char *onText;
    const char *offText;
    // Which stored texts count as on.
    bool (*readsOn)(const Flag &flag, const QString &text);

    bool isOn(const QString &text) const { return readsOn(*this, text); }
    bool readOn(const SettingsStore &store) const { return isOn(read(store)); }
    QString textOf(bool on) const;
    void writeOn(SettingsStore &store, bool on) const { write(store, textOf(on)); }
};

// Ways a flag's stored text counts as on.
bool onTextOnly(const Flag &flag, const QString &text);
bool onTextOrMissing(const Flag &flag, const QString &text);
// The missing text is a number and may have blanks around it.
bool onTextOrMissingNumber(const Flag &flag, const QString &text);

// A whole number written as decimal text; a number read from it is used only
// within [min, max].
struct Number : Text
{
    qint64 min;
    qint64 max;

    bool holds(qint64 value) const { return value >= min && value <= max; }
    qint64 clamped(qint64 value) const { return std::clamp(value, min, max); }
    void writeNumber(SettingsStore &store, qint64 value) const;
};

// The polling interval in milliseconds.
struct Interval : Number
{
    // What a missing or unusable value counts as.
    int usual;
};

// A window's outer rectangle in twips, under four keys.
struct Placement
{
    // Which stored texts mean that no rectangle is stored.
    enum class Unset {
        // Any text that sorts below "0", compared as text: missing, empty,
        // negative or starting with a blank.
        SortsBelowZero,
        // The missing text only.
        Missing,
    };

    Number left;
    Number top;
    Number width;
    Number height;
    Unset unset;
    // Whether a rectangle without area counts as none stored.
    bool needsArea;

    // The texts of left, top, width and height, in that order.
    std::array<QString, 4> read(const SettingsStore &store) const;
    void write(SettingsStore &store, const QRect &twips) const;
};

constexpr Number twipsKey(const char *section, const char *key)
{
    return {{section, key}, -1'000'000'000, 1'000'000'000};
}

// The main window.
inline constexpr Placement MainWindow{
    twipsKey("Posizione", "Sin"),       twipsKey("Posizione", "Alto"),
    twipsKey("Grandezze", "Larghezza"), twipsKey("Grandezze", "Altezza"),
    Placement::Unset::SortsBelowZero,   false,
};
inline constexpr Flag SempreInPrimoPiano{
    {"Altro", "SempreInPrimoPiano"}, "True", "False", onTextOrMissingNumber};
inline constexpr Flag VisualizzaIcona{{"Altro", "VisualizzaIcona"}, "1", "0", onTextOrMissing};
inline constexpr Flag AvviaAIcona{{"Altro", "AvviaAIcona"}, "1", "0", onTextOnly};
inline constexpr Interval Ref{{{"Altro", "Ref"}, 0, 65535}, 700};
inline constexpr Flag ConfUsc{{"Altro", "ConfUsc"}, "1", "0", onTextOnly};
// Always written empty, never read.
inline constexpr Text SfMnu{"Altro", "SfMnu"};

// The entry editor.
inline constexpr Placement Editor{
    twipsKey("Posizione", "SinFA"),   twipsKey("Posizione", "AltoFA"),
    twipsKey("Grandezze", "LarghFA"), twipsKey("Grandezze", "AltFA"),
    Placement::Unset::Missing,        true,
};

} // namespace Setting
