#include "FakePlatform.h"

namespace {

QString pathOf(const SettingKey &key) { return key.application + u'/' + key.section + u'/' + key.key; }

std::optional<QString> next(std::deque<std::optional<QString>> &answers)
{
    std::optional<QString> answer;
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}

} // namespace

void FakePlatform::showMessage(QWidget *, const QString &title, const QString &text) { messages.append({title, text}); }

std::optional<QString> FakePlatform::openFileName(QWidget *, const FileDialogRequest &request)
{
    openRequests.append(request);
    return next(openAnswers);
}

std::optional<QString> FakePlatform::saveFileName(QWidget *, const FileDialogRequest &request)
{
    saveRequests.append(request);
    return next(saveAnswers);
}

bool FakePlatform::openFile(const QString &path)
{
    openedFiles.append(path);
    return true;
}

bool FakePlatform::openWebPage(const QString &address)
{
    webPages.append(address);
    return true;
}

QString FakePlatform::setting(const SettingKey &key, const QString &defaultValue) { return store.value(pathOf(key), defaultValue); }

void FakePlatform::saveSetting(const SettingKey &key, const QString &value)
{
    ++storeWrites;
    store.insert(pathOf(key), value);
}

qint64 FakePlatform::clockMs()
{
    if (onClock)
        onClock();
    const qint64 reading = now;
    now += clockStep;
    return reading;
}
