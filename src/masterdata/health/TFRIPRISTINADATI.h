#pragma once
// "Ripristina una copia dei dati": picks a copy, shows its date and company,
// asks (default No), saves the current data as a copy, then puts the copy in
// place; a progress bar meanwhile.
#include <QDialog>

#include "foundation/AppContext.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace vt {

class TFRIPRISTINADATI : public QDialog {
  Q_OBJECT
public:
  explicit TFRIPRISTINADATI(AppContext &ctx, QWidget *parent = nullptr);

protected:
  void reject() override;

private:
  void choose();
  void describe();
  void confirm();

  AppContext &ctx_;
  bool busy_ = false;
  QLineEdit *LFILE = nullptr;
  QToolButton *BLFILE = nullptr;
  QLabel *DDATA = nullptr;
  QLabel *DAZIENDA = nullptr;
  QProgressBar *PROGRESSO = nullptr;
  QPushButton *BCONF = nullptr, *BABBANDONA = nullptr;
};

} // namespace vt
