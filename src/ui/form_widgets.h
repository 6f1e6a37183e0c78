#pragma once

// The widgets behind each control role of the form port. Guarded pointers: a call that reaches
// the GUI thread after the window is gone finds null and does nothing.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QRadioButton>
#include <QTableWidget>

#include <map>

#include "app/form.h"

namespace lecdl {

struct FormWidgets {
  QPointer<QMainWindow> window;  // its caption is Label::Caption
  std::map<TextBox, QPointer<QLineEdit>> texts;
  std::map<Label, QPointer<QLabel>> labels;  // Label::StatusBar is the label inside 状态条1
  std::map<CheckBox, QPointer<QCheckBox>> checks;
  std::map<Radio, QPointer<QRadioButton>> radios;
  std::map<ListControl, QPointer<QTableWidget>> lists;
};

}  // namespace lecdl
