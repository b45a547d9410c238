#pragma once

#include <QPoint>
#include <QString>

class QWidget;

// What the viewer takes from the desktop: its warning box, the pointer and the event loop. Kept
// behind one interface so tests drive the viewer without a real pointer or a modal box.
class ViewerPlatform
{
public:
    virtual ~ViewerPlatform() = default;

    // A modal box with the exclamation icon and an OK button. Lines are separated by CR LF.
    virtual void showExclamation(QWidget *parent, const QString &title, const QString &text) = 0;
    // The pointer's position in screen pixels.
    virtual QPoint cursorPos() = 0;
    virtual void setCursorPos(QPoint position) = 0;
    // Lets queued window events run.
    virtual void processEvents() = 0;
};
