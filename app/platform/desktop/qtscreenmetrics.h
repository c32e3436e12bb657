// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screenmetrics.h"

class QtScreenMetrics : public ScreenMetrics
{
public:
    QRect workAreaTwips() const override;
    QList<QRect> allWorkAreasTwips() const override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    std::optional<QPoint> pointerPosition() const override;
    bool tilesWindows() const override;
};
