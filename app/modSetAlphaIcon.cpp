#include "app/modSetAlphaIcon.h"

#include <QPixmap>
#include <QWidget>
#include <QWindow>

namespace {
constexpr int groupSizes[] = {16, 32, 48, 64, 128};
} // namespace

QIcon iconGroup(const QString &name)
{
    QIcon icon;
    for (const int size : groupSizes) {
        const QPixmap image(QStringLiteral(":/icons/%1-%2.png").arg(name.toLower()).arg(size));
        if (!image.isNull())
            icon.addPixmap(image);
    }
    return icon;
}

QWidget *topOwner(QWidget *window)
{
    QWidget *top = window->window();
    while (top->parentWidget())
        top = top->parentWidget()->window();
    return top;
}

namespace {

// A widget shown without a parent may still be owned at the window-system level.
QWindow *topTransientOwner(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    if (!handle || !handle->transientParent())
        return nullptr;
    while (handle->transientParent())
        handle = handle->transientParent();
    return handle;
}

} // namespace

// The original pair of a big (title bar, task switcher) and a small (caption) icon is one QIcon
// here: it holds every size of the group and the window system picks the size it draws.
void SetIcon(QWidget *window, const QString &name, bool setOwner)
{
    const QIcon icon = iconGroup(name);
    if (setOwner) {
        QWidget *top = topOwner(window);
        top->setWindowIcon(icon);
        if (QWindow *owner = topTransientOwner(top))
            owner->setIcon(icon);
    }
    window->setWindowIcon(icon);
}
