#include "document_commands.h"

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sstream>

#include "config_file.h"
#include "qt_test_registry.h"
#include "recording_reporter.h"
#include "scripted_prompts.h"

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

// Every file write past `limit` bytes fails with EFBIG, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit small{limit, old_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, handler_);
  }

 private:
  void (*handler_)(int);
  rlimit old_{};
};

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
      bool read_only;  // the named file exists and is read-only
      bool quits;
      QStringList asked;
      QString written;  // the file that must hold the document
    } cases[] = {
        {"unmodified", 0, "a.dat", false, "", false, true, {}, ""},
        {"yes", 1, "a.dat", true, "", false, true, exit, ""},
        {"no, named", 1, "a.dat", false, "", false, true, exit, "a.dat"},
        {"no, cancelled", 1, "", false, "", false, false, exit_save, ""},
        {"no, saved as", 1, "", false, "b", false, true, exit_save, "b.dat"},
        {"no, save fails", 1, "a.dat", false, "", true, false, exit, ""},
    };
    for (const auto& c : cases) {
      QTemporaryDir dir;
      Rig rig(c.name.isEmpty() ? c.name : dir.filePath(c.name));
      rig.config.modified = c.modified;
      rig.prompts.answers = {c.yes};
      if (!c.chosen.isEmpty()) rig.prompts.files = {dir.filePath(c.chosen)};
      if (c.read_only) {
        WriteBytes(dir.filePath(c.name), "old\r\n");
        QVERIFY(QFile::setPermissions(dir.filePath(c.name), kReadOnly));
      }

      QVERIFY2(rig.commands.ConfirmExit() == c.quits, c.what);
      QVERIFY2(rig.prompts.asked == c.asked, c.what);
      const bool saved = !c.written.isEmpty();
      const QStringList files = saved ? QStringList{c.written} : QStringList{};
      QVERIFY2(Files(dir.path()) == (c.read_only ? QStringList{c.name} : files), c.what);
      if (saved) QVERIFY2(ReadBytes(dir.filePath(c.written)) == Saved(rig.config), c.what);
      if (c.read_only) QVERIFY2(ReadBytes(dir.filePath(c.name)) == "old\r\n", c.what);
      QVERIFY2(rig.reporter.shown == (c.read_only ? Shown{kCantOpen} : Shown{}), c.what);
      QVERIFY2(rig.config.modified == (saved ? 0 : c.modified), c.what);
    }
  }

  void saveWithoutNameWarns() {
    Rig rig;
    QVERIFY(!rig.commands.SaveDocument());
    QCOMPARE(rig.reporter.shown, Shown{"warning:Don't file open"});
    QCOMPARE(rig.config.modified, 1);
  }

  void saveAsAddsDatTag_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "show"
                           << "show.dat";
    QTest::newRow("already .dat") << "show.dat"
                                  << "show.dat";
    QTest::newRow(".dat inside") << "my.dat.txt"
                                 << "my.dat.txt";
    QTest::newRow("case matters") << "SHOW.DAT"
                                  << "SHOW.DAT.dat";
    QTest::newRow(".dat folder") << "old.dat/show"
                                 << "old.dat/show";
  }
  void saveAsAddsDatTag() {
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    QVERIFY(QDir(dir_->path()).mkdir("old.dat"));
    Rig rig;
    rig.prompts.answers = {true};
    QVERIFY(rig.commands.NewDocument());  // so the file must match the saved defaults
    rig.config.modified = 1;
    rig.prompts.files = {Path(chosen)};

    QVERIFY(rig.commands.SaveDocumentAs());
    const QFileInfo target(Path(expected));
    QCOMPARE(Files(target.path()), QStringList{target.fileName()});
    QCOMPARE(ReadBytes(target.filePath()), Defaults());
    QCOMPARE(rig.FileName(), target.filePath());
    QCOMPARE(rig.config.modified, 0);
  }

  void refusedWriteKeepsOldFile_data() {
    QTest::addColumn<bool>("saveAs");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("save, read-only") << false << true;
    QTest::newRow("save as, read-only") << true << true;
    QTest::newRow("save, disk full") << false << false;
    QTest::newRow("save as, disk full") << true << false;
  }
  void refusedWriteKeepsOldFile() {
    QFETCH(bool, saveAs);
    QFETCH(bool, readOnly);
    const QString target = Path("show.dat");
    const QByteArray old = Defaults();  // longer than the size limit below
    WriteBytes(target, old);
    if (readOnly) QVERIFY(QFile::setPermissions(target, kReadOnly));
    const QString earlier = saveAs ? Path("earlier.dat") : target;
    Rig rig(earlier);
    rig.prompts.files = {target};

    bool saved = false;
    {
      std::optional<FileSizeLimit> limit;
      if (!readOnly) limit.emplace(512);
      saved = saveAs ? rig.commands.SaveDocumentAs() : rig.commands.SaveDocument();
    }
    QVERIFY(!saved);
    QCOMPARE(ReadBytes(target), old);
    QCOMPARE(Files(dir_->path()), QStringList{"show.dat"});  // no temporary left behind
    QCOMPARE(rig.reporter.shown, Shown{kCantOpen});
    QCOMPARE(rig.FileName(), earlier);
    QCOMPARE(rig.config.modified, 1);
  }

  void newDocument() {
    const struct {
      const char* what;
      int batch_step, modified;
      bool yes, resets;
      QStringList asked;
    } cases[] = {
        {"busy", 1, 1, true, false, {}},
        {"declined", 0, 1, false, false, {kNewQuestion}},
        {"accepted", 0, 1, true, true, {kNewQuestion}},
        {"unmodified", 0, 0, false, true, {}},
    };
    for (const auto& c : cases) {
      Rig rig("a.dat");
      rig.link.BatchStep = c.batch_step;
      rig.config.modified = c.modified;
      rig.prompts.answers = {c.yes};
      QVERIFY2(rig.commands.NewDocument() == c.resets, c.what);
      QVERIFY2(rig.prompts.asked == c.asked, c.what);
      QVERIFY2(rig.FileName() == (c.resets ? "" : "a.dat"), c.what);
      QVERIFY2(rig.config.modified == (c.resets ? 0 : c.modified), c.what);
      QVERIFY2((Saved(rig.config) == Defaults()) == c.resets, c.what);
    }
  }

  void openRefusalsLeaveDocument() {
    QVERIFY(QDir(dir_->path()).mkdir("folder.dat"));
    const struct {
      const char* what;
      int batch_step;
      bool yes;
      std::optional<QString> chosen;
      QStringList asked;
      Shown shown;
    } cases[] = {
        {"busy", 1, true, Path("x"), {}, {}},
        {"declined", 0, false, Path("x"), {kOpenQuestion}, {}},
        {"cancelled", 0, true, std::nullopt, {kOpenQuestion, "open"}, {}},
        {"missing", 0, true, Path("none.dat"), {kOpenQuestion, "open"}, {kCantOpen}},
        {"folder", 0, true, Path("folder.dat"), {kOpenQuestion, "open"}, {kCantOpen}},
    };
    for (const auto& c : cases) {
      Rig rig("a.dat");
      rig.link.BatchStep = c.batch_step;
      rig.prompts.answers = {c.yes};
      rig.prompts.files = {c.chosen};
      QVERIFY2(!rig.commands.OpenDocument(), c.what);
      QVERIFY2(rig.prompts.asked == c.asked, c.what);
      QVERIFY2(rig.reporter.shown == c.shown, c.what);
      QVERIFY2(rig.FileName() == "a.dat" && rig.config.modified == 1, c.what);
      QVERIFY2(rig.config.position_h == 3, c.what);
    }
  }

  // Save must find a non-ASCII name again, and replacing the file must keep its mode.
  void openThenSaveTheSameFile() {
    const QString path = Path("表示.dat");
    WriteBytes(path, Defaults());
    QVERIFY(QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    const auto mode = QFile::permissions(path);
    Rig rig;
    rig.config.modified = 0;
    rig.prompts.files = {path};
    QVERIFY(rig.commands.OpenDocument());
    QCOMPARE(rig.prompts.asked, QStringList{"open"});
    QCOMPARE(rig.FileName(), path);
    QCOMPARE(rig.config.position_h, 8);
    QCOMPARE(rig.config.modified, 0);

    rig.config.position_h = 5;
    rig.config.modified = 1;
    QVERIFY(rig.commands.SaveDocument());
    QCOMPARE(Files(dir_->path()), QStringList{"表示.dat"});
    QCOMPARE(ReadBytes(path), Saved(rig.config));
    QCOMPARE(QFile::permissions(path), mode);
    QVERIFY(rig.reporter.shown.empty());
  }

 private:
  QString Path(const QString& name) const { return dir_->filePath(name); }

  std::optional<QTemporaryDir> dir_;
};

QRV_REGISTER_QT_TEST(DocumentCommandsTest);

}  // namespace qrv

#include "document_commands_test.moc"
