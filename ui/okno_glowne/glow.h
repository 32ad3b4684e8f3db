#pragma once
// The main window: the top bar of commands, the list of faulty lines with
// its count and, below a splitter, the details of the selected faulty line
// with the character-correction controls.
#include <QFont>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "diagnoza/PropozycjaPoprawki.h"
#include "kodowanie/Kodowanie.h"
#include "profile/Profil.h"
#include "rachunki/PodsumowanieStanu.h"
#include "rachunki/WykazBankow.h"
#include "sprawdzanie/SprawdzPlik.h"

#include "layout/Layout.h"
#include "layout/Panel.h"
#include "layout/Splitter.h"
#include "layout/WindowBuilder.h"
#include "messages/ErrorBoundary.h"
#include "messages/UserMessages.h"
#include "okno_glowne/SiatkaBledow.h"
#include "okno_glowne/Sprawdzanie.h"
#include "widgets/Siatka.h"
#include "widgets/WidokLinii.h"

class QGroupBox;
class QDragEnterEvent;
class QDropEvent;
class QKeyEvent;
class QMimeData;
class QLabel;
class QLineEdit;
class QPushButton;

class TFormLOG;
class TFormRachunki;

namespace Typy {
struct TStan;
}

namespace ui {
class TModelBledow;
class TModelZnakow;
class TSettings;
class TWyborProfilu;
}  // namespace ui

class TFormGlow : public QWidget, private ui::TWidokSprawdzania {
 public:
  // Shows and changes the verification state `stan`, which outlives it.
  // The window font is asked for by name; tests hand in another one to see
  // the layout scale with it.
  TFormGlow(Typy::TStan& stan, ui::TUserMessages& komunikaty,
            const QFont& czcionka = ui::CzcionkaOkna(), QWidget* rodzic = nullptr);

  // A length of the layout (given for a 13-pixel text height) in pixels.
  int Skaluj(int piksele) const { return skala_(piksele); }
  int WysokoscTekstu() const { return skala_.WysokoscTekstu(); }
  ui::TUserMessages& Komunikaty() { return komunikaty_; }

  // The report window; set at start-up, once it exists.
  TFormLOG* FormLOG = nullptr;

  ui::TDialogPliku OpenDialog1;
  ui::TPanel* Panel1 = nullptr;
  QPushButton* Button3 = nullptr;
  ui::TPanel* Panel2 = nullptr;
  ui::TSiatkaBledow* StringGridBledy = nullptr;
  ui::TPanel* Panel3 = nullptr;
  ui::TSplitter* Splitter1 = nullptr;
  ui::TPanel* PanelSzczegoly = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  ui::TPanel* Panel5 = nullptr;
  ui::TSiatka* StringGridZnaki = nullptr;
  ui::TPanel* Panel6 = nullptr;
  QLabel* LabelSzczegolyLiniaBlad = nullptr;
  ui::TWidokLinii* MemoLiniaOrg = nullptr;
  QLabel* Label2 = nullptr;
  ui::TWidokLinii* MemoLiniaNew = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* ButtonZapiszNew = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* LabelIleBledow = nullptr;
  QLineEdit* EditZnakNew = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* EditZnakOrg = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* ButtonPokazLog = nullptr;
  // The encoding diagnosis and its automatic correction, shown after a
  // check only when the correction would change something.
  QLabel* LabelKodowanie = nullptr;
  QPushButton* ButtonPoprawAutomatycznie = nullptr;
  // Wrong account numbers and transfer fields: their count, shown after a
  // check's outcome only when there are any, and the button to their list.
  QLabel* LabelRachunki = nullptr;
  QPushButton* ButtonPokazRachunki = nullptr;
  // The bank profile the file is checked against.
  ui::TWyborProfilu* ComboProfil = nullptr;

  void DodajLinieDoStringGrid();
  void FormCreate(QObject* Sender);
  void Button3Click(QObject* Sender);
  // The check command for a file named on the command line or dropped on
  // the window, as if chosen in the open dialog (the file system's bytes).
  void SprawdzWskazanyPlik(const std::string& sciezka);
  void InitDane();
  void StringGridBledyClick(QObject* Sender);
  void ButtonZapiszNewClick(QObject* Sender);
  void MemoLiniaNewClick(QObject* Sender);
  void PokazWybranyZnak();
  void MemoLiniaNewKeyUp(QObject* Sender, int Key, Qt::KeyboardModifiers Shift);
  void BitBtn1Click(QObject* Sender);
  void ButtonPokazLogClick(QObject* Sender);
  void ButtonPoprawAutomatycznieClick(QObject* Sender);
  void ButtonPokazRachunkiClick(QObject* Sender);
  void ComboProfilChange(QObject* Sender);
  // The list of account and field findings, once it has been opened.
  TFormRachunki* FormRachunki() const { return formRachunki_; }
  // The store that remembers the bank profile chosen in the window and the
  // list of banks the user gave ("Wykaz banków…" in the list of findings);
  // both are taken now. Without a store the choices last until the
  // program ends.
  void UzyjUstawien(ui::TSettings* ustawienia);
  void WybierzWykazBankow();
  // What every check of the window is given: the profile of the box and
  // the list of banks the user gave, once either was taken (until then the
  // ones in use).
  sprawdzanie::TZasady Zasady() const;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* ev) override;
  // One file dragged from a file manager onto the window is checked.
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  // Runs a handler inside the error boundary.
  template <class F>
  void Obsluz(F&& f) {
    ui::Chron(komunikaty_, std::forward<F>(f));
  }
  void Zbuduj(const QFont& czcionka);
  void Podlacz();
  // The check command from the chosen path on; `zamiastOceny`, if given,
  // tells the outcome instead of the outcome dialog (ui::SprawdzPlik).
  void Sprawdz(const std::string& sciezka, const std::function<void(std::size_t)>& zamiastOceny);
  // The check's steps as this window shows them.
  void Wyczysc() override;
  bool PokazujeRaport() const override { return FormLOG != nullptr; }
  void PokazWynik(sprawdzanie::TStanOkna& wynik) override;
  void PokazOcene(std::size_t ileBledow) override;
  void PoOcenie() override;
  // The strip's account sentence and "Pokaż…", or neither when the file
  // has no finding, warning or transfer; true when shown.
  bool PokazPasekRachunkow();
  void PokazPropozycjePoprawki(const std::optional<diagnoza::TPropozycja>& propozycja);
  // Takes the profile the settings store names.
  void WczytajProfil();

  Typy::TStan& stan_;
  ui::TUserMessages& komunikaty_;
  ui::TScale skala_;
  ui::TLayout* ukladOkna_ = nullptr;
  ui::TModelBledow* modelBledow_ = nullptr;
  ui::TModelZnakow* modelZnakow_ = nullptr;
  // What the automatic correction decodes from, while it is offered.
  std::optional<kodowanie::TKodowanie> poprawka_;
  std::optional<kodowanie::TKodowanie> poprawkaAlbo_;  // a second reading as likely
  rachunki::TRachunkiStanu rachunkiStanu_;
  TFormRachunki* formRachunki_ = nullptr;
  ui::TSettings* ustawienia_ = nullptr;
  // The check's profile and list of banks (Zasady).
  std::optional<profile::TProfil> profil_;
  std::shared_ptr<const rachunki::TWykazBankow> wykaz_;
};
