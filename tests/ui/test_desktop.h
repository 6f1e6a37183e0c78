#pragma once

// Answers the window's dialogs without a person and records what was asked.

#include <QStringList>
#include <QUrl>

#include <mutex>
#include <optional>
#include <vector>

#include "ui/desktop.h"

namespace lecdl::test {

struct AskedMessage {
  QString text;
  QString caption;
  bool withCancel;
};

class TestDesktop : public Desktop {
 public:
  bool Message(QWidget*, const QString& text, const QString& caption, bool withCancel) override {
    messages.push_back({text, caption, withCancel});
    return answerOk;
  }
  std::optional<QString> SaveFile(QWidget*, const SaveFileQuestion& question) override {
    saveQuestions.push_back(question);
    return saveAnswer;
  }
  std::optional<QString> Folder(QWidget*, const QString& title) override {
    folderTitles.push_back(title);
    return folderAnswer;
  }
  void Open(const QUrl& url) override { opened.push_back(url); }

  // Written and read on the GUI thread only (the window calls the desktop there).
  std::vector<AskedMessage> messages;
  std::vector<SaveFileQuestion> saveQuestions;
  QStringList folderTitles;
  std::vector<QUrl> opened;

  bool answerOk = true;
  std::optional<QString> saveAnswer;
  std::optional<QString> folderAnswer;
};

}  // namespace lecdl::test
