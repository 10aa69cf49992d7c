#pragma once
// Test support for the window library: a fixture that starts the library for each test and
// ends it afterwards, records every error raised, and helpers that answer modal loops from
// single-shot timers with a watchdog, so an unanswered box fails the test instead of hanging.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "ui/core/libobject.h"
#include "ui/core/messageloop.h"
#include "ui/windowlibrary.h"

namespace kv::ui::test {

// Share of pixels whose colour differs between two pictures of one size by more than `shade`
// in a channel: screenshot tests compare a grab with its stored reference through it, so font
// rendering that differs by a shade does not fail them.
inline double differingShare(const QImage& a, const QImage& b, int shade) {
  long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > shade || std::abs(qGreen(p) - qGreen(q)) > shade ||
          std::abs(qBlue(p) - qBlue(q)) > shade) {
        ++differing;
      }
    }
  }
  return static_cast<double>(differing) / (a.width() * a.height());
}

// Compares a picture (RGB32) with its stored reference file: the same size, and at most
// `maxShare` of the pixels differing by more than `shade`. KV_WRITE_REFERENCE=1 writes the
// reference anew from the picture first.
inline void expectLikeReference(const QImage& image, const QString& file, int shade = 24,
                                double maxShare = 0.005) {
  if (std::getenv("KV_WRITE_REFERENCE")) {
    ASSERT_TRUE(image.save(file));
  }
  QImage reference(file);
  ASSERT_FALSE(reference.isNull()) << "missing " << file.toStdString();
  reference = reference.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), reference.size());
  EXPECT_LT(differingShare(image, reference, shade), maxShare) << file.toStdString();
}

struct RaisedError {
  int genCode;
  int subCode;
  std::string subsystem;
  std::string description;
  std::string operation;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) registerWindowLibrary();
    registered = true;
    startWindowLibrary();
    ERRORBLOCK(makeBlock([this](Args args) {
      const Value& e = arg(args, 0);
      raised.push_back({send(e, "GENCODE").asInt(), send(e, "SUBCODE").asInt(),
                        std::string(send(e, "SUBSYSTEM").str()),
                        std::string(send(e, "DESCRIPTION").str()),
                        std::string(send(e, "OPERATION").str())});
      return Value();
    }));
  }
  void TearDown() override {
    stopWindowLibrary();
    resetErrorSystem();
  }

  std::vector<RaisedError> raised;
};

// Fails the test and ends every message loop when it is still alive after `ms`.
class Watchdog {
 public:
  explicit Watchdog(int ms = 5000) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      ADD_FAILURE() << "a message loop was not answered in time";
      setTerminated(true);
    });
    timer_.start(ms);
  }
  ~Watchdog() { setTerminated(false); }

 private:
  QTimer timer_;
};

// Runs `fn` with the active modal widget as soon as there is one (or with `level` modal
// widgets open, the innermost), checking every 10 ms from the message loop.
inline void whenModal(std::function<void(QWidget*)> fn, QWidget* notThis = nullptr) {
  QTimer::singleShot(10, [fn, notThis] {
    QWidget* m = QApplication::activeModalWidget();
    if (!m || m == notThis) {
      whenModal(fn, notThis);
    } else {
      fn(m);
    }
  });
}

// Runs `fn` from the message loop after `ms`.
inline void later(int ms, std::function<void()> fn) {
  QTimer::singleShot(ms, fn);
}

// A library object's language object made by a class function and created with `owner`.
inline Value created(Value (*classFn)(), const Value& owner) {
  Value obj = classFn();
  send(obj, "Create", {owner});
  return obj;
}

}  // namespace kv::ui::test
