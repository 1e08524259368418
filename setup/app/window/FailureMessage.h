#pragma once
// The message that tells the user the installation did not succeed, drawn in
// the setup window's own look rather than the system's: a dark rounded panel
// with white text and the window's blue button, centred over the window,
// modal to it. OK, Enter, Space and Escape close it; screen readers read its
// title, its text and its button.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ostrel::app {

class FailureMessage final : public QDialog {
 public:
  FailureMessage(QWidget* AOwner, const QString& ATitle, const QString& AText);

  QLabel* Text() const { return FText; }
  QPushButton* OkButton() const { return FOk; }

  // The panel's colours, the window's own.
  static constexpr QRgb kPanelColor = 0xFF2F2F2F;
  static constexpr QRgb kBorderColor = 0xFF383838;
  static constexpr QRgb kButtonColor = 0xFF0092CA;

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
  void showEvent(QShowEvent* AEvent) override;

 private:
  QLabel* FText;
  QPushButton* FOk;
};

// Shows the message modally and returns once it is closed.
void ShowFailureMessage(QWidget* AOwner, const QString& ATitle, const QString& AText);

}  // namespace ostrel::app
