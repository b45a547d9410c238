#include "engine/cells/CharacterMapping.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<QString> charactersOf(const QString &text)
{
    std::vector<QString> characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        characters.push_back(text.mid(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
    return characters;
}

} // namespace

RampTables buildRampTables(const QString &ramp)
{
    RampTables tables;
    tables.rampChar = charactersOf(ramp);
    std::reverse(tables.rampChar.begin(), tables.rampChar.end());
    const auto count = qsizetype(tables.rampChar.size());

    tables.rampLimit.assign(count + 1, 0);
    for (qsizetype i = 1; i <= count; ++i)
        tables.rampLimit[i] = i == count ? 256 : qint16(std::nearbyint(255.0 / double(count) * double(i)));

    tables.bandOfGrey.fill(-1);
    for (qsizetype k = count - 1; k >= 0; --k) {
        for (int grey = tables.rampLimit[k]; grey < tables.rampLimit[k + 1]; ++grey)
            tables.bandOfGrey[grey] = k;
    }
    return tables;
}

QString reversedRamp(const QString &ramp)
{
    std::vector<QString> characters = charactersOf(ramp);
    std::reverse(characters.begin(), characters.end());
    QString reversed;
    for (const QString &character : characters)
        reversed += character;
    return reversed;
}

std::vector<QString> distinctCharacters(const QString &ramp)
{
    std::vector<QString> distinct;
    for (const QString &character : charactersOf(ramp)) {
        if (std::find(distinct.begin(), distinct.end(), character) == distinct.end())
            distinct.push_back(character);
    }
    return distinct;
}

QString assembleRow(std::span<const quint8> greys, const RampTables &tables)
{
    QString row;
    row.reserve(qsizetype(greys.size()) * 2);
    for (quint8 grey : greys) {
        const qsizetype band = tables.bandOfGrey[grey];
        if (band < 0)
            continue;
        const QString &character = tables.rampChar[band];
        if (character.size() == 1)
            row.append(character.front());
        else
            row.append(character);
    }
    return row;
}
