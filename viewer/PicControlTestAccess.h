#pragma once

#include "viewer/PicControl.h"

// For tests and benchmarks only, never for a host: a picture viewer control's element tree,
// member state and the handlers its own elements and timers call, so that a test can drive one
// tick or one press and look at the geometry that results.
class PicControlTestAccess
{
public:
    explicit PicControlTestAccess(PicControl &control) : c(control) {}

    const PicControlElements &elements() const { return c.e; }
    const PicControlState &state() const { return c.m; }

    void UpdateLens() { c.UpdateLens(); }
    void UpdatePositionMarker() { c.UpdatePositionMarker(); }
    void Combo1_EditingFinished() { c.Combo1_EditingFinished(); }
    void picButton_MouseDown(qint16 index, int button) { c.picButton_MouseDown(index, button, 0, 0, 0); }
    void picButton_MouseUp(qint16 index, int button) { c.picButton_MouseUp(index, button, 0, 0, 0); }
    void picZoom_MouseDown(int button) { c.picZoom_MouseDown(button, 0, 0, 0); }
    void tmrScrollLeft_Timer() { c.tmrScrollLeft_Timer(); }
    void tmrScrollRight_Timer() { c.tmrScrollRight_Timer(); }
    void tmrScrollDown_Timer() { c.tmrScrollDown_Timer(); }
    void tmrZoom_Timer() { c.tmrZoom_Timer(); }
    void tmrInsert_Timer() { c.tmrInsert_Timer(); }

private:
    PicControl &c;
};
