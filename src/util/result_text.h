#pragma once

#include <QString>
#include <QTime>

#include <cstdint>

#include "util/text_table.h"

namespace util {

// Text of a result code; only the low six bits count. Empty for codes without a text.
QString ResultCodeText(std::uint8_t code, const TextTable& texts);

// The meaning of a result code in plain English, for tools that explain results beside the
// console's text; only the low six bits count. A code without a text gives a generic meaning.
QString ResultCodeMeaning(std::uint8_t code);

// The meaning of a record-memory fill state in plain English; empty for other values.
QString ReplyStatusMeaning(std::uint8_t status);

// Text of a reply status letter of the module protocol ("C", "R", "D", "F"); empty otherwise.
QString ReplyKindText(QStringView letter, const TextTable& texts);

// Text of the record-memory fill state 0 to 3 that comes back with every reply; empty otherwise.
QString ReplyStatusText(std::uint8_t status, const TextTable& texts);

// The status-bar result line: "hh:mm:ss" then "   通讯错误" for a communication error (low six
// bits 48), else two blanks, the caption and the result text.
QString CommandResultLine(const QTime& now, const QString& caption, std::uint8_t result,
                          const TextTable& texts);

// The result line of a request that changes the controller (a delete, a settings write). A
// communication error there cannot say the request was not done: its reply may have been lost
// after it ran. So the line names the command and says it may have run:
// "hh:mm:ss  删除所有后台记录通讯错误，可能已执行"; any other result reads as CommandResultLine.
// "通讯错误，可能已执行": a communication error after a request that may have run.
QString MayHaveRunText(const TextTable& texts);

QString ChangeResultLine(const QTime& now, const QString& caption, std::uint8_t result,
                         const TextTable& texts);

}  // namespace util
