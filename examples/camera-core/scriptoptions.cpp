// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "scriptoptions.h"

#include "camerasettings.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

QCommandLineOption textsOption()
{
    return { QStringLiteral("dump-texts"),
        QStringLiteral("Write the window's texts as JSON when the run time is over."), QStringLiteral("file") };
}

QCommandLineOption actionOption()
{
    return { QStringLiteral("test-action"),
        QStringLiteral("At <seconds> into a timed run, File > Reconnect, a double-click on the camera at <address> "
                       "or a camera setting entered."),
        QStringLiteral("seconds:reconnect|seconds:switch=address|seconds:setting=value") };
}

QCommandLineOption imageOption()
{
    return { QStringLiteral("save-image"),
        QStringLiteral("Save the shown image as PNG and its raw bytes to <file>.raw when the run time is over."),
        QStringLiteral("file") };
}

/** True when @p text is a value a scripted action can give @p setting: on or off, a name or a number. */
bool takesText(const CameraSetting& setting, const QString& text)
{
    const bool onOff = setting.kind == SettingKind::Switch || setting.kind == SettingKind::Flip;
    const QString pattern = onOff             ? QStringLiteral("on|off")
        : setting.kind == SettingKind::Choice ? QStringLiteral("\\w+")
                                              : QStringLiteral("\\d+(\\.\\d*)?");
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

} // namespace

void addScriptOptions(QCommandLineParser* parser)
{
    for (QCommandLineOption option : { textsOption(), actionOption(), imageOption() }) {
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser->addOption(option);
    }
}

bool readScriptOptions(const QCommandLineParser& parser, ScriptOptions* options, QString* error)
{
    options->textsFile = parser.value(textsOption().names().constFirst());
    options->actions = parser.values(actionOption().names().constFirst());
    options->imageFile = parser.value(imageOption().names().constFirst());
    const QRegularExpression actionPattern(
        QStringLiteral("^\\d+(\\.\\d*)?:(reconnect|maximize|normal|move=-?\\d+,-?\\d+|switch=.+|([a-z-]+)=(.+))$"));
    for (const QString& value : qAsConst(options->actions)) {
        const QRegularExpressionMatch match = actionPattern.match(value);
        const CameraSetting* setting = findCameraSetting(match.captured(3));
        if (!match.hasMatch()
            || (!match.captured(3).isEmpty() && !(setting && takesText(*setting, match.captured(4))))) {
            *error = QStringLiteral("--test-action needs <seconds>:reconnect, <seconds>:switch=<address> or "
                                    "<seconds>:<setting>=<value>, not \"%1\"")
                         .arg(value);
            return false;
        }
    }
    return true;
}
