#include "tests/support/x_session.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>
#include <cstring>

namespace TestSupport {

namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
Owned<Reply> own(Reply* reply) {
  return Owned<Reply>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  const auto reply = own(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

QByteArray property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
  const auto reply =
      own(xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr));
  if (!reply || reply->type == XCB_ATOM_NONE) return {};
  return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                    xcb_get_property_value_length(reply.get()));
}

}  // namespace

Program::Program(const QString& path, const QStringList& arguments,
                 const QProcessEnvironment& environment, const QString& errorLog)
    : errorLog_(errorLog) {
  process_.setProgram(path);
  process_.setArguments(arguments);
  process_.setProcessEnvironment(environment);
  process_.setStandardErrorFile(errorLog.isEmpty() ? QProcess::nullDevice() : errorLog);
  process_.setChildProcessModifier([] {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  });
  process_.start();
  started_ = process_.waitForStarted(10'000);
}

Program::~Program() {
  if (process_.state() == QProcess::NotRunning) return;
  const pid_t group = static_cast<pid_t>(process_.processId());
  ::kill(-group, SIGTERM);
  if (!process_.waitForFinished(3'000)) {
    ::kill(-group, SIGKILL);
    process_.waitForFinished(3'000);
  }
  // What the program started may outlive it in its group.
  ::kill(-group, SIGKILL);
}

void Program::send(const QStringList& words) {
  process_.write((words.join('\t') + '\n').toUtf8());
  process_.waitForBytesWritten(1'000);
}

void Program::readAvailable() {
  partial_ += process_.readAllStandardOutput();
  for (qsizetype end; (end = partial_.indexOf('\n')) >= 0;) {
    lines_.push_back(QString::fromUtf8(partial_.left(end)));
    partial_.remove(0, end + 1);
  }
}

const QStringList& Program::lines() {
  readAvailable();
  return lines_;
}

std::optional<QString> Program::waitFor(const QString& prefix, int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  while (true) {
    readAvailable();
    for (qsizetype i = taken_; i < lines_.size(); ++i) {
      if (lines_[i].startsWith(prefix)) {
        taken_ = i + 1;
        return lines_[i];
      }
    }
    if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) return std::nullopt;
    process_.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
  }
}

std::optional<int> Program::finish(int milliseconds) {
  process_.closeWriteChannel();
  if (!process_.waitForFinished(milliseconds) || process_.exitStatus() != QProcess::NormalExit)
    return std::nullopt;
  return process_.exitCode();
}

QString Program::errors() const {
  QFile log(errorLog_);
  return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

XSession::XSession(Options options) {
  // Programs the desktop's programs start (the accessibility bus) become
  // this process's to reap when their parents go.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  const QString home = home_.filePath("home");
  const QString runtime = home_.filePath("run");
  QDir().mkpath(home + "/.config");
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  environment_ = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                           "AT_SPI_BUS_ADDRESS", "XAUTHORITY", "SESSION_MANAGER"})
    environment_.remove(name);
  environment_.insert("HOME", home);
  environment_.insert("XDG_CONFIG_HOME", home + "/.config");
  environment_.insert("XDG_RUNTIME_DIR", runtime);
  environment_.insert("QT_QPA_PLATFORM", "xcb");

  for (const char* tool : {"Xvfb", "openbox", "xdotool"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
      failure_ = QString("%1 is not installed (scripts/install-deps installs it)").arg(tool);
      return;
    }
  }
  // Xvfb picks a free display and writes its number to standard output.
  server_ = start("Xvfb", {"-displayfd", "1", "-screen", "0",
                           QString("%1x%2x24").arg(options.size.width()).arg(options.size.height()),
                           "-nolisten", "tcp"});
  const auto number = server_->waitFor("");
  if (!number) {
    failure_ = "Xvfb did not start: " + server_->errors();
    return;
  }
  display_ = ":" + number->trimmed();
  environment_.insert("DISPLAY", display_);
  connection_ = xcb_connect(display_.toLatin1().constData(), nullptr);
  if (xcb_connection_has_error(connection_)) {
    failure_ = "cannot connect to " + display_;
    return;
  }
  root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;

  windowManager_ = start("openbox", {"--sm-disable"});
  const xcb_atom_t check = atom(connection_, "_NET_SUPPORTING_WM_CHECK");
  if (!eventually(
          [&] { return !property(connection_, root_, check, XCB_ATOM_WINDOW).isEmpty(); })) {
    failure_ = "openbox did not start: " + windowManager_->errors();
    return;
  }
  if (options.compositor) {
    compositor_ = start("xcompmgr");
    const xcb_atom_t selection = atom(connection_, "_NET_WM_CM_S0");
    if (!eventually([&] {
          const auto owner = own(xcb_get_selection_owner_reply(
              connection_, xcb_get_selection_owner(connection_, selection), nullptr));
          return owner && owner->owner != XCB_WINDOW_NONE;
        })) {
      failure_ = "xcompmgr did not start: " + compositor_->errors();
      return;
    }
  }
  if (options.dbus) {
    bus_ = start("dbus-daemon", {"--session", "--nofork", "--print-address=1",
                                 "--address=unix:path=" + runtime + "/bus"});
    const auto address = bus_->waitFor("unix:");
    if (!address) {
      failure_ = "dbus-daemon did not start: " + bus_->errors();
      return;
    }
    environment_.insert("DBUS_SESSION_BUS_ADDRESS", *address);
  }
}

XSession::~XSession() {
  if (connection_) xcb_disconnect(connection_);
  bus_.reset();
  compositor_.reset();
  windowManager_.reset();
  server_.reset();
  // Reap what was orphaned on the way, now that no Program is left waiting
  // for its own child.
  const QDeadlineTimer deadline(3'000);
  while (!deadline.hasExpired()) {
    const pid_t reaped = ::waitpid(-1, nullptr, WNOHANG);
    if (reaped < 0) break;  // no children left
    if (reaped == 0) QThread::msleep(10);
  }
}

std::unique_ptr<Program> XSession::start(const QString& path, const QStringList& arguments,
                                         const QProcessEnvironment& extra) {
  QProcessEnvironment environment = environment_;
  environment.insert(extra);
  static int count = 0;
  const QString log =
      home_.filePath(QFileInfo(path).fileName() + "-" + QString::number(++count) + ".err");
  return std::make_unique<Program>(path, arguments, environment, log);
}

QString XSession::run(const QString& path, const QStringList& arguments) {
  QProcess process;
  process.setProcessEnvironment(environment_);
  process.start(path, arguments);
  const bool done = process.waitForFinished(10'000);
  EXPECT_TRUE(done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
      << qPrintable(path) << " " << qPrintable(arguments.join(' ')) << ": "
      << qPrintable(QString::fromLocal8Bit(process.readAllStandardError()));
  return QString::fromLocal8Bit(process.readAllStandardOutput());
}

std::optional<xcb_window_t> XSession::windowTitled(const QString& title) const {
  const xcb_atom_t netName = atom(connection_, "_NET_WM_NAME");
  const xcb_atom_t utf8 = atom(connection_, "UTF8_STRING");
  const std::function<std::optional<xcb_window_t>(xcb_window_t, int)> search =
      [&](xcb_window_t parent, int depth) -> std::optional<xcb_window_t> {
    const auto tree =
        own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, parent), nullptr));
    if (!tree) return std::nullopt;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
      const xcb_window_t child = children[i];
      const auto attributes = own(xcb_get_window_attributes_reply(
          connection_, xcb_get_window_attributes(connection_, child), nullptr));
      if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
      if (QString::fromUtf8(property(connection_, child, netName, utf8)) == title) return child;
      if (depth < 3) {
        if (const auto found = search(child, depth + 1)) return found;
      }
    }
    return std::nullopt;
  };
  return search(root_, 0);
}

std::optional<QRect> XSession::geometry(xcb_window_t window) const {
  const auto size =
      own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
  const auto place = own(xcb_translate_coordinates_reply(
      connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
  if (!size || !place) return std::nullopt;
  return QRect(place->dst_x, place->dst_y, size->width, size->height);
}

xcb_window_t XSession::focus() const {
  const auto reply =
      own(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  return reply ? reply->focus : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

QString XSession::atomName(xcb_atom_t a) const {
  const auto reply =
      own(xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, a), nullptr));
  return reply ? QString::fromLatin1(xcb_get_atom_name_name(reply.get()),
                                     xcb_get_atom_name_name_length(reply.get()))
               : QString();
}

QStringList XSession::netWmStates(xcb_window_t window) const {
  const QByteArray data =
      property(connection_, window, atom(connection_, "_NET_WM_STATE"), XCB_ATOM_ATOM);
  QStringList names;
  const auto* atoms = reinterpret_cast<const xcb_atom_t*>(data.constData());
  for (qsizetype i = 0; i < data.size() / qsizetype(sizeof(xcb_atom_t)); ++i)
    names << atomName(atoms[i]);
  return names;
}

void XSession::setBackground(QRgb colour) {
  const uint32_t pixel = colour & 0xFFFFFF;
  xcb_change_window_attributes(connection_, root_, XCB_CW_BACK_PIXEL, &pixel);
  xcb_clear_area(connection_, 0, root_, 0, 0, 0, 0);
  xcb_flush(connection_);
}

QImage XSession::screenshot() const {
  const auto size =
      own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, root_), nullptr));
  if (!size) return {};
  const auto image =
      own(xcb_get_image_reply(connection_,
                              xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, 0, 0,
                                            size->width, size->height, ~0u),
                              nullptr));
  if (!image || image->depth != 24) return {};
  const int stride = xcb_get_image_data_length(image.get()) / size->height;
  return QImage(xcb_get_image_data(image.get()), size->width, size->height, stride,
                QImage::Format_RGB32)
      .copy();
}

bool XSession::eventually(const std::function<bool()>& condition, int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
}

}  // namespace TestSupport
