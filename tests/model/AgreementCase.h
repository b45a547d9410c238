#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <vector>

// One conversion to run through both the converter and the reference model.
struct AgreementCase
{
    QString name;
    QString picture;
    QString sizeText = QStringLiteral("1"); // as typed on the command line
    bool sizeJoined = false;                // "--size=-2" rather than "--size" "-2"
    quint8 detail = 10;
    std::optional<QString> ramp;            // none: the converter's shipped default
    QString rampName = QStringLiteral("default");
    QString outputName = QStringLiteral("art.txt"); // relative to the run's own folder
    bool outputFolderExists = true;
    bool outputIsSource = false;            // the picture is copied in and named as the output too
    QByteArray existingOutput;              // written under the output's name before the run, unless empty
    bool reminder = true;
    QStringList environment;

    float size() const;
    QStringList converterArguments(const QString &source, const QString &output) const;
};

// Every picture meets every size, detail, ramp, output kind and reminder setting at least once, every
// (size, detail) pair is met by some picture, and edge rows follow. `madePictures` are the made-up ones
// of writeSamplePictures, in its order.
std::vector<AgreementCase> agreementCases(const QStringList &pictures, const QStringList &madePictures);
