#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A scratch folder for one test: pictures, ramp lists and outputs.
class TestFolder
{
public:
    TestFolder();

    QString path(const QString &name) const;
    // The names in the folder, sorted; a run's temporary file would show up here.
    QStringList entries() const;

    QString writeFile(const QString &name, const QByteArray &contents) const;
    QByteArray readFile(const QString &name) const;
    // A picture of `columns` x `rows` blocks of `blockWidth` x `blockHeight` pixels, black and
    // white like a chessboard with a black top-left block.
    QString writeChessboard(const QString &name, int columns, int rows, int blockWidth, int blockHeight) const;
    // A picture with every pixel different: red across, green down, blue mixed.
    QString writeGradient(const QString &name, int width, int height) const;

private:
    QTemporaryDir m_dir;
};
