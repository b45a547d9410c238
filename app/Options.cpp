#include "app/Options.h"

#include "app/OptionCheckBox.h"
#include "app/Platform.h"
#include "app/ProductInfo.h"

#include <QMenu>

namespace {

SettingKey keyOf(const char *key)
{
    return {ProductInfo::name, QStringLiteral("Options"), QLatin1String(key)};
}

void saveOnChange(Platform &platform, OptionCheckBox *box, const char *key)
{
    QObject::connect(box, &QCheckBox::stateChanged, box,
                     [&platform, box, key] { platform.saveSetting(keyOf(key), QString::number(box->value())); });
}

void restoreOne(Platform &platform, OptionCheckBox *box, const char *key)
{
    bool ok = false;
    const short value = platform.setting(keyOf(key), QStringLiteral("1")).trimmed().toShort(&ok);
    if (ok)
        box->setValue(value);
}

constexpr const char *openKey = "Checks";
constexpr const char *reminderKey = "ChecksFR";

} // namespace

namespace Options {

void keepSaved(Platform &platform, OptionCheckBox *openWhenDone, OptionCheckBox *fontReminder)
{
    saveOnChange(platform, openWhenDone, openKey);
    saveOnChange(platform, fontReminder, reminderKey);
}

void restore(Platform &platform, OptionCheckBox *openWhenDone, OptionCheckBox *fontReminder)
{
    restoreOne(platform, openWhenDone, openKey);
    restoreOne(platform, fontReminder, reminderKey);
}

QAction *addRememberedItem(QMenu *menu, Platform &platform, const QString &text, const char *key)
{
    QAction *item = menu->addAction(text);
    item->setObjectName(QStringLiteral("mnu") + QLatin1String(key));
    item->setCheckable(true);
    item->setChecked(platform.setting(keyOf(key), QStringLiteral("0")).trimmed() == u"1");
    QObject::connect(item, &QAction::toggled, item,
                     [&platform, key](bool checked) { platform.saveSetting(keyOf(key), checked ? QStringLiteral("1") : QStringLiteral("0")); });
    return item;
}

} // namespace Options
