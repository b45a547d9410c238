#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"

#include <QComboBox>
#include <algorithm>
#include <optional>

namespace {

constexpr qint16 slowestSpeed = 10;
constexpr qint16 fastestSpeed = 400;

// The speed a text asks for: a whole number, which may be out of range; nothing for other text.
std::optional<int> typedSpeed(const QString &text)
{
    bool ok = false;
    const int speed = text.trimmed().toInt(&ok);
    return ok ? std::optional(speed) : std::nullopt;
}

} // namespace

// A speed is applied as it is typed only when it is already one the control takes, so that
// "25" can be typed: its "2" alone is left standing until the "5" arrives.
void PicControl::Combo1_Change()
{
    const std::optional<int> speed = typedSpeed(e.Combo1->currentText());
    if (speed && *speed >= slowestSpeed && *speed <= fastestSpeed)
        Combo1_Click();
}

void PicControl::Combo1_Click()
{
    const std::optional<int> speed = typedSpeed(e.Combo1->currentText());
    if (speed)
        setScrollSpeed(qint16(std::clamp(*speed, int(slowestSpeed), int(fastestSpeed))));
}

// When editing ends, the box shows the speed in force again: a number out of range is applied
// clamped first, any other text is replaced.
void PicControl::Combo1_EditingFinished()
{
    Combo1_Click();
    const QString text = QString::number(m.mScrollSpeed);
    if (e.Combo1->currentText() != text)
        e.Combo1->setEditText(text);
}

void PicControl::Combo2_Change() { Combo2_Click(); }

void PicControl::Combo2_Click()
{
    const QString text = e.Combo2->currentText();
    qint32 index = 0;
    if (text == QLatin1String("Small"))
        index = 0;
    else if (text == QLatin1String("Medium"))
        index = 1;
    else if (text == QLatin1String("Large"))
        index = 2;
    else
        return;
    ApplyLensSize(index);
}

void PicControl::Combo3_Change() { Combo3_Click(); }

void PicControl::Combo3_Click()
{
    const QString text = e.Combo3->currentText();
    if (text == QLatin1String("1.5x"))
        m.mMagnify = 1.5f;
    else if (text == QLatin1String("2.0x"))
        m.mMagnify = 2.0f;
    else if (text == QLatin1String("2.5x"))
        m.mMagnify = 2.5f;
    else if (text == QLatin1String("3.0x"))
        m.mMagnify = 3.0f;
    e.picZoom->setToolTip(text + QStringLiteral(" Magnification."));
    if (!e.picZoom->isHidden())
        UpdateLens();
}

void PicControl::ApplyLensSize(const qint32 &index)
{
    m.mLenzSize = index;
    static constexpr float sides[] = {67, 113, 160};
    if (index >= 0 && index <= 2) {
        e.picZoom->setWidth(sides[index]);
        e.picZoom->setHeight(sides[index]);
    }
    if (!e.picZoom->isHidden())
        UpdateLens();
}

// The control presents the magnification its list shows: it does not first turn an exact 2.0
// into "1.5x".
void PicControl::RefreshLensTip()
{
    e.picZoom->setToolTip(e.Combo3->currentText() + QStringLiteral(" Magnification. Right Click To Close"));
}
