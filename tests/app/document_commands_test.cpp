#include "document_commands.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

#include "config_file.h"
#include "qt_test_registry.h"
#include "recording_reporter.h"
#include "scripted_prompts.h"
#include "serial_settings.h"

namespace qrv {
namespace {

const QString kNewQuestion = QStringLiteral("データを保存せずに新規作成しますか？");
const QString kOpenQuestion = QStringLiteral("データを保存せずに別のファイルを開きますか？");
const QString kExitQuestion = QStringLiteral("データを保存せずに終了しますか？");
const std::string kCantOpen = "warning:Can't file open";
using Shown = std::vector<std::string>;
constexpr auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// A changed, unsaved document named `name`.
struct Rig {
  DisplayConfig config;
  LinkState link;
  RecordingReporter reporter;
  ScriptedPrompts prompts;
  DocumentCommands commands{config, link, reporter, prompts};

  explicit Rig(const QString& name = {}) {
    config.position_h = 3;
    config.modified = 1;
    config.set_file_name(QFile::encodeName(name).toStdString());
  }
  QString FileName() const {
    return QFile::decodeName(QByteArray::fromStdString(std::string(config.file_name_text())));
  }
};

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray Saved(const DisplayConfig& config) {
  std::ostringstream out(std::ios::binary);
  WriteConfigFile(out, config);
  return QByteArray::fromStdString(out.str());
}

QByteArray Defaults() {
  return ReadBytes(QStringLiteral(QRV_TEST_DATA "/defaults.dat"));
}

QStringList Files(const QString& dir) {
  return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

}  // namespace

class DocumentCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(dir_.emplace().isValid()); }
  void cleanup() { dir_.reset(); }

  void exitQuestion() {
    const QStringList exit{kExitQuestion}, exit_save{kExitQuestion, "save"};
    const struct {
      const char* what;
      int modified;
      QString name;    // the document's file name
      bool yes;        // the answer to the exit question
      QString chosen;  // from the save dialog; empty cancels
      bool quits;
      QStringList asked;
      QString written;  // the file that must hold the document
    } cases[] = {
        {"unmodified", 0, "a.dat", false, "", true, {}, ""},
        {"yes", 1, "a.dat", true, "", true, exit, ""},
        {"no, named", 1, "a.dat", false, "", true, exit, "a.dat"},
        {"no, cancelled", 1, "", false, "", false, exit_save, ""},
        {"no, saved as", 1, "", false, "b", true, exit_save, "b.dat"},
    };
    for (const auto& c : cases) {
      QTemporaryDir dir;
      Rig rig(c.name.isEmpty() ? c.name : dir.filePath(c.name));
      rig.config.modified = c.modified;
      rig.prompts.answers = {c.yes};
      if (!c.chosen.isEmpty()) rig.prompts.files = {dir.filePath(c.chosen)};
      QVERIFY2(rig.commands.ConfirmExit() == c.quits, c.what);
      QVERIFY2(rig.prompts.asked == c.asked, c.what);
      const bool saved = !c.written.isEmpty();
      const QStringList files = saved ? QStringList{c.written} : QStringList{};
      QVERIFY2(Files(dir.path()) == files, c.what);
      if (saved) QVERIFY2(ReadBytes(dir.filePath(c.written)) == Saved(rig.config), c.what);
      QVERIFY2(rig.config.modified == (saved ? 0 : c.modified), c.what);
    }
  }

  // A read from the board asks as Open does; the file dialogs start in the document's
  // folder, or else in the folder last used, which the settings file keeps.
  void readQuestionAndFileDialogsStartingFolder() {
    Rig rig;
    rig.prompts.answers = {false};
    QVERIFY(!rig.commands.ConfirmRead());
    rig.config.modified = 0;
    QVERIFY(rig.commands.ConfirmRead());
    QCOMPARE(rig.prompts.asked, QStringList{"データを保存せずに読み込みますか？"});

    const QString ini = Path("qrv.ini"), docs = Path("docs"), csv = Path("csv");
    QVERIFY(QDir().mkpath(docs) && QDir().mkpath(csv));
    SerialSettings values;
    SettingsStore store(values, ini.toStdString(), rig.reporter);
    DisplayConfig config;
    ScriptedPrompts prompts;
    DocumentCommands commands(config, rig.link, rig.reporter, prompts, &store);
    prompts.files = {docs + "/a.dat", csv + "/t.csv"};
    QVERIFY(commands.SaveDocumentAs());  // from nowhere in particular
    QVERIFY(commands.ExportCsv());       // from the document's folder
    config.reset_to_defaults();          // New: no document folder, the last one used
    commands.ExportCsv();
    QCOMPARE(prompts.folders, (QStringList{"", docs, csv}));
    QCOMPARE(QString::fromStdString(ReadSerialSettings(ini.toStdString()).file_folder), csv);
  }

  void refusedWriteKeepsOldFile() {
    const QString target = Path("show.dat");
    const QByteArray old = Defaults();
    WriteBytes(target, old);
    QVERIFY(QFile::setPermissions(target, kReadOnly));
    Rig rig(target);
    const bool saved = rig.commands.SaveDocument();
    QVERIFY(!saved);
    QCOMPARE(ReadBytes(target), old);
    QCOMPARE(Files(dir_->path()), QStringList{"show.dat"});  // no temporary left behind
    QCOMPARE(rig.reporter.shown, Shown{kCantOpen});
    QCOMPARE(rig.FileName(), target);
    QCOMPARE(rig.config.modified, 1);
    // Quitting without leaving the changes saves again, fails again, and stays.
    rig.prompts.answers = {false};
    QVERIFY(!rig.commands.ConfirmExit());
    QCOMPARE(ReadBytes(target), old);
    QCOMPARE(rig.reporter.shown, (Shown{kCantOpen, kCantOpen}));
  }

  // New and Open ask before dropping changes, and do nothing during a run; a refused or
  // failed open leaves the document as it was.
  void newAndOpenAskFirst() {
    QVERIFY(mkfifo(QFile::encodeName(Path("fifo.dat")).constData(), 0600) == 0);
    // The numbers only: opened as it is, with a warning.
    WriteBytes(Path("cut.dat"), Defaults().left(Defaults().indexOf("s\r\n")));
    const std::string kCutShort =
        "warning:This file is incomplete or holds values the dialogs "
        "do not offer. It is open as it is; a frame a value does not "
        "fit is not sent.\n\nends at line 772 of 996";
    const QStringList ask_new{kNewQuestion}, ask_open{kOpenQuestion, "open"};
    const struct {
      const char* what;
      bool open;
      int batch_step, modified;
      bool yes;
      std::optional<QString> chosen;
      bool done;
      QStringList asked;
      Shown shown;
    } cases[] = {
        {"new, busy", false, 1, 1, true, {}, false, {}, {}},
        {"new, declined", false, 0, 1, false, {}, false, ask_new, {}},
        {"new, accepted", false, 0, 1, true, {}, true, ask_new, {}},
        {"new, unmodified", false, 0, 0, false, {}, true, {}, {}},
        {"open, busy", true, 1, 1, true, Path("x"), false, {}, {}},
        {"open, cancelled", true, 0, 1, true, std::nullopt, false, ask_open, {}},
        {"open, FIFO", true, 0, 1, true, Path("fifo.dat"), false, ask_open, {kCantOpen}},
        {"open, cut short", true, 0, 1, true, Path("cut.dat"), true, ask_open, {kCutShort}},
    };
    for (const auto& c : cases) {
      Rig rig("a.dat");
      if (c.batch_step != 0) rig.link.RunBegun();
      rig.config.modified = c.modified;
      rig.prompts.answers = {c.yes};
      rig.prompts.files = {c.chosen};
      const bool done = c.open ? rig.commands.OpenDocument() : rig.commands.NewDocument();
      QVERIFY2(done == c.done, c.what);
      QVERIFY2(rig.prompts.asked == c.asked, c.what);
      QVERIFY2(rig.reporter.shown == c.shown, c.what);
      const QString named = c.chosen && c.open ? *c.chosen : QString();
      QVERIFY2(rig.FileName() == (c.done ? named : "a.dat"), c.what);
      QVERIFY2(rig.config.modified == (c.done ? 0 : c.modified), c.what);
      QVERIFY2((Saved(rig.config) == Defaults()) == c.done, c.what);
    }
  }

 private:
  QString Path(const QString& name) const { return dir_->filePath(name); }

  std::optional<QTemporaryDir> dir_;
};

QRV_REGISTER_QT_TEST(DocumentCommandsTest);

}  // namespace qrv

#include "document_commands_test.moc"
