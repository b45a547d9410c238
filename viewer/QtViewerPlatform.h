#pragma once

#include "viewer/ViewerPlatform.h"

// The desktop services of a running program.
class QtViewerPlatform : public ViewerPlatform
{
public:
    void showExclamation(QWidget *parent, const QString &title, const QString &text) override;
    QPoint cursorPos() override;
    void setCursorPos(QPoint position) override;
    void processEvents() override;
};
