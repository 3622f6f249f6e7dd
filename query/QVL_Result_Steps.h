#pragma once

#include "query/QVL_Result_Step.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The step file of one profile on one device ("<profile>.<device>.steps.csv"
// beside the profile): every stored query's steps, one line per unit, appended
// by that device only and never rewritten. A line cut off by a crash is
// dropped on reading and cut back before the next append.
namespace TQVL_Result_Steps {

constexpr int Version = 1;

struct Contents
{
    std::vector<TQVL_Result_Step> Steps;
    int DamagedLines = 0;
    bool TornTail = false;
};

QByteArray Header();
void AppendLine(QByteArray& out, const TQVL_Result_Step& step);
// Raises a German error naming `fileName` when the bytes are not a step file of this version.
Contents Parse(const QByteArray& bytes, const QString& fileName);
// A missing file is an empty one.
Contents Read(const QString& fileName);
// Appends `steps` to the file (made with its header when missing) and flushes
// it to the disk before returning; raises a German error naming the file.
void Append(const QString& fileName, const std::vector<TQVL_Result_Step>& steps);

QString FileName(const QString& profileFileName, const QString& deviceId);
// The step files of every device beside the profile, sorted by name.
QStringList FilesOf(const QString& profileFileName);
// The device id a step file of the profile is named with; empty for another file.
QString DeviceOf(const QString& profileFileName, const QString& stepFileName);

} // namespace TQVL_Result_Steps
