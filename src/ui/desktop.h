#pragma once

// What the window asks of the desktop on the user's behalf: message boxes, the save dialog, the
// folder picker and opening a folder or a web page. The window shows the real dialogs; tests put
// an answerer of their own in its place, so nothing waits for a person.

#include <QString>
#include <QUrl>

#include <optional>

class QWidget;

namespace lecdl {

struct SaveFileQuestion {
  QString title;
  QString fileName;
  QString filter;            // in Qt's form: "TXT文档 (*.txt)"
  QString defaultSuffix;     // without the dot: "txt"
  QString directory;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  // True when the user answered OK.
  virtual bool Message(QWidget* parent, const QString& text, const QString& caption, bool withCancel) = 0;
  // The chosen file; nullopt when cancelled.
  virtual std::optional<QString> SaveFile(QWidget* parent, const SaveFileQuestion& question) = 0;
  // The chosen folder; nullopt when cancelled.
  virtual std::optional<QString> Folder(QWidget* parent, const QString& title) = 0;
  virtual void Open(const QUrl& url) = 0;
};

// The real dialogs and the desktop's default applications.
class QtDesktop : public Desktop {
 public:
  bool Message(QWidget* parent, const QString& text, const QString& caption, bool withCancel) override;
  std::optional<QString> SaveFile(QWidget* parent, const SaveFileQuestion& question) override;
  std::optional<QString> Folder(QWidget* parent, const QString& title) override;
  void Open(const QUrl& url) override;
};

}  // namespace lecdl
