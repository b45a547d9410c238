#include "viewer/QtViewerPlatform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMessageBox>

void QtViewerPlatform::showExclamation(QWidget *parent, const QString &title, const QString &text)
{
    // A message box shows a lone CR as a stray mark, so the two-line texts are shown with LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox::warning(parent, title, shown);
}

QPoint QtViewerPlatform::cursorPos() { return QCursor::pos(); }

void QtViewerPlatform::setCursorPos(QPoint position) { QCursor::setPos(position); }

void QtViewerPlatform::processEvents() { QCoreApplication::processEvents(); }
