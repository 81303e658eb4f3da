#include "start_options.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include "serial_settings.h"

namespace qrv {

std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString* error) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Configures a QRV-470K information scroller over a serial line, or over "
                     "the network through a serial device server."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption settings(
      QStringLiteral("settings"),
      QStringLiteral("Settings file to use instead of the user's qrv470kse.ini."),
      QStringLiteral("FILE"));
  const QCommandLineOption port(
      QStringLiteral("port"),
      QStringLiteral("Serial device to open, whatever the settings name (e.g. /dev/ttyUSB0), "
                     "or tcp://HOST:PORT for a serial device server."),
      QStringLiteral("DEVICE"));
  const QCommandLineOption simulate(
      QStringLiteral("simulate"),
      QStringLiteral("Connect to a board simulated inside the program; frames and answers "
                     "are logged on stderr."));
  const QCommandLineOption log(
      QStringLiteral("log"),
      QStringLiteral("Append every frame sent and every line received, with its time, to FILE."),
      QStringLiteral("FILE"));
  parser.addOptions({settings, port, simulate, log});
  if (!parser.parse(arguments)) {
    *error = parser.errorText();
    return std::nullopt;
  }
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
    parser.showHelp();
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
  if (!parser.positionalArguments().isEmpty()) {
    *error = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first());
    return std::nullopt;
  }
  if (QFileInfo(parser.value(settings)).isDir()) {
    *error =
        QStringLiteral("--settings names a folder, not a file: %1").arg(parser.value(settings));
    return std::nullopt;
  }

  StartOptions options;
  options.settings_path = parser.isSet(settings)
                              ? QFile::encodeName(parser.value(settings)).toStdString()
                              : DefaultSettingsPath();
  options.port = QFile::encodeName(parser.value(port)).toStdString();
  options.simulate = parser.isSet(simulate);
  options.log_path = QFile::encodeName(parser.value(log)).toStdString();
  return options;
}

}  // namespace qrv
