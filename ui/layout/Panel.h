#pragma once
// A panel: optionally a raised edge, and a caption drawn at its left,
// vertically centred.
#include <QFrame>
#include <QString>

namespace ui {

class TPanel : public QFrame {
 public:
  TPanel(const QString& nazwa, bool wypukly, QWidget* rodzic);
  void UstawNapis(const QString& napis);
  QString Napis() const { return napis_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QString napis_;
};

}  // namespace ui
