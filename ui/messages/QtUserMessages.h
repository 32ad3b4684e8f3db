#pragma once
// The user-message facility with real dialogs: each dialog is modal, so
// the busy cursor is put aside while it is open.
#include "messages/BusyCursor.h"
#include "messages/DialogiPlikow.h"
#include "messages/UserMessages.h"

namespace ui {

class TQtUserMessages final : public TUserMessages {
 public:
  // `ustawienia` keeps the open dialog's folder across runs; without it
  // (tests) nothing outlives the object.
  explicit TQtUserMessages(TSettings* ustawienia = nullptr) : dialogi_(ustawienia) {}
  void UzyjUstawien(TSettings* ustawienia) { dialogi_.UzyjUstawien(ustawienia); }
  void Ostrzezenie(const std::string& tekst) override;
  void Informacja(const std::string& tekst) override;
  void Komunikat(const std::string& tekst) override;
  void BladKrytyczny(const std::string& komunikat) override;
  bool Pytanie(const std::string& tekst) override;
  bool PytanieTakDomyslnie(const std::string& tekst) override;
  void Zajety(bool wlaczony) override { kursor_.Ustaw(wlaczony); }
  bool CzyZajety() const override { return kursor_.Wlaczony(); }
  std::optional<std::string> OtworzPlik(QWidget* rodzic) override;
  std::optional<std::string> OtworzWykazBankow(QWidget* rodzic) override;
  std::optional<std::string> ZapiszPlik(QWidget* rodzic) override;
  bool UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic) override;
  void PlikSprawdzony(const std::string& sciezka) override { dialogi_.PlikSprawdzony(sciezka); }
  void OknoModalneOtwarte() override { kursor_.ModalneOtwarte(); }
  void OknoModalneZamkniete() override { kursor_.ModalneZamkniete(); }

 private:
  TQtBusyCursor kursor_;
  TDialogiPlikow dialogi_;
};

}  // namespace ui
