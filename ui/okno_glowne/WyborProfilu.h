#pragma once
// The bank profile chooser of the main window: the built-in profiles, and
// a profile file when the settings name one (an administrator's). It shows
// the chosen profile's name and says nothing else; the window puts the
// choice in use, remembers it and checks the open file again.
#include <QComboBox>
#include <QString>
#include <functional>

#include "profile/Profil.h"

namespace ui {

class TWyborProfilu final : public QComboBox {
 public:
  explicit TWyborProfilu(QWidget* rodzic = nullptr);

  // Chooses the profile `klucz` names (a built-in profile's name, or a
  // profile file's path; empty: the default) without telling PoZmianie.
  // Returns the profile; a file that cannot be used raises EProfil and
  // leaves the default chosen.
  profile::TProfil Wybierz(const QString& klucz);

  // What names the chosen profile in the settings: empty for the default.
  QString Klucz() const;
  // The chosen profile.
  profile::TProfil Profil() const;

  // The user chose another profile.
  std::function<void()> PoZmianie;

 protected:
  // A name longer than the box ends in "…" rather than cut mid-letter.
  void paintEvent(QPaintEvent* e) override;

 private:
  void Wypelnij();
  void PokazOpis();

  QString plik_;  // the profile file listed last, if any
  profile::TProfil zPliku_;
  bool cicho_ = false;
};

}  // namespace ui
