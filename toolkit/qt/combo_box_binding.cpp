// A drop-down combo box whose text can be typed: picking an entry selects
// it, typing hands the text to the model as typed (no completion, nothing
// inserted into the list on Enter).
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "toolkit/combo_box.h"
#include "toolkit/qt/binding_factories.h"

namespace tk::qt {

namespace {

class ComboBoxBinding : public ControlBinding {
 public:
  ComboBoxBinding(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& dispatch)
      : ControlBinding(c, new QComboBox(parent), s) {
    QComboBox* box = combo();
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    auto& model = static_cast<ComboBox&>(c);
    QObject::connect(box, &QComboBox::activated,
                     [&model, dispatch](int index) { dispatch([&model, index] { model.userSelect(index); }); });
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, [&model, dispatch](const QString& typed) {
      dispatch([&model, t = typed.toStdString()] { model.userType(t); });
    });
  }

 protected:
  void syncOwn() override {
    const auto& model = static_cast<const ComboBox&>(control());
    QComboBox* box = combo();
    const QSignalBlocker quiet(box);
    if (model.items() != items_) {
      items_ = model.items();
      QStringList list;
      list.reserve(static_cast<qsizetype>(items_.size()));
      for (const std::string& item : items_) list << QString::fromStdString(item);
      box->clear();
      box->addItems(list);
    }
    if (box->currentIndex() != model.listIndex()) box->setCurrentIndex(model.listIndex());
    const QString text = QString::fromStdString(model.text());
    if (box->lineEdit()->text() != text) box->lineEdit()->setText(text);
  }
  void applyColors() override {}

 private:
  QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
  std::vector<std::string> items_;
};

}  // namespace

BindingPtr bindComboBox(Control& c, QWidget* parent, const TwipScale& s, const Dispatch& d) {
  return std::make_unique<ComboBoxBinding>(c, parent, s, d);
}

}  // namespace tk::qt
