#include "app/MainWindowKeys.h"

#include "app/MainWindowControls.h"

#include <QAction>
#include <QMainWindow>
#include <QPushButton>
#include <functional>

namespace {

void addKey(QMainWindow &window, const QList<QKeySequence> &keys, std::function<void()> run)
{
    auto *action = new QAction(&window);
    action->setShortcuts(keys);
    QObject::connect(action, &QAction::triggered, &window, std::move(run));
    window.addAction(action);
}

void addButtonKey(QMainWindow &window, const QList<QKeySequence> &keys, QPushButton *button)
{
    addKey(window, keys, [button] { button->click(); });
}

} // namespace

void addMainWindowKeys(QMainWindow &window, const MainWindowControls &c, QAction *about)
{
    addButtonKey(window, {QKeySequence(Qt::CTRL | Qt::Key_O)}, c.cmdPicBrowse);
    addButtonKey(window, {QKeySequence(Qt::CTRL | Qt::Key_S)}, c.cmdASCIIBrowse);
    addButtonKey(window, {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}, c.cmdMake);
    addButtonKey(window, {QKeySequence(Qt::CTRL | Qt::Key_P)}, c.Command2);
    addKey(window, {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [&window] { window.close(); });
    addKey(window, {QKeySequence(Qt::Key_F1)}, [about] { about->trigger(); });
}
