#include "ui/desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace lecdl {

bool QtDesktop::Message(QWidget* parent, const QString& text, const QString& caption, bool withCancel) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                  parent);
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok;
}

std::optional<QString> QtDesktop::SaveFile(QWidget* parent, const SaveFileQuestion& question) {
  QFileDialog dialog(parent, question.title, question.directory, question.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);  // a file that does not exist yet may be named
  dialog.setDefaultSuffix(question.defaultSuffix);
  dialog.selectFile(question.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QString> QtDesktop::Folder(QWidget* parent, const QString& title) {
  const QString folder = QFileDialog::getExistingDirectory(parent, title);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

void QtDesktop::Open(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace lecdl
