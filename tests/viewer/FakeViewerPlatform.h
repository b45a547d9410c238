#pragma once

#include "viewer/ViewerPlatform.h"

#include <QStringList>
#include <functional>

// Stands in for the desktop: records warnings, holds a pointer that only tests move, and runs
// `onProcessEvents` where the control lets pending events run.
class FakeViewerPlatform : public ViewerPlatform
{
public:
    QStringList messages; // "title: text"
    QPoint pointer;
    std::function<void()> onProcessEvents;

    void showExclamation(QWidget *, const QString &title, const QString &text) override { messages << title + QStringLiteral(": ") + text; }
    QPoint cursorPos() override { return pointer; }
    void setCursorPos(QPoint position) override { pointer = position; }
    void processEvents() override
    {
        if (onProcessEvents)
            onProcessEvents();
    }
};
