#pragma once
// "Salva una copia dei dati": a ZIP copy of DATI_GEN and REGISTRI into a chosen
// folder, named with the company code, the date and the time; a progress bar
// while it is written and read back.
#include <QDialog>

#include "foundation/AppContext.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace vt {

class TFSALVADATI : public QDialog {
  Q_OBJECT
public:
  explicit TFSALVADATI(AppContext &ctx, QWidget *parent = nullptr);

  // The file the last confirmation wrote (empty until one did).
  const QString &saved() const { return saved_; }

protected:
  void reject() override;

private:
  void confirm();
  void showName();

  AppContext &ctx_;
  bool busy_ = false;
  QString saved_;
  QLineEdit *LCARTELLA = nullptr;
  QToolButton *BLCARTELLA = nullptr;
  QLabel *DNOMEFILE = nullptr;
  QProgressBar *PROGRESSO = nullptr;
  QPushButton *BCONF = nullptr, *BABBANDONA = nullptr;
};

} // namespace vt
