; The installer for users, built by NSIS (makensis) in
; scripts/windows-nsis.sh from the installed tree. Polish pages: welcome,
; the notice, the folder, progress, and the last page, which can start the
; program. Per user without administrator rights by default (under
; %LOCALAPPDATA%\Programs), for every user when run elevated (Program
; Files); /CurrentUser and /AllUsers choose on the command line, /S
; installs silently. A newer version replaces the installed one in place;
; an older one is refused.
; Defined by the caller: WERSJA, WERSJA4 (four numbers), WYDAWCA, IKONA,
; INFORMACJA (the notice, UTF-8 with a byte-order mark), PLIKI (the
; generated lists of the tree's files), WYJSCIE; PODPISZ, when given, is a
; command that signs the file %1 in place.
; A 64-bit installer, as the program is (and wine without its 32-bit part
; runs it too).
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!define NAZWA "Tarmeko_weryfikacja_pliku"
!define PROGRAM "${NAZWA}.exe"
!define DEINSTALATOR "Odinstaluj.exe"
!define KLUCZ "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAZWA}"

!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${NAZWA}"
; A folder chosen at an earlier installation is offered again.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${KLUCZ}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE \
  "Instalacja dla wszystkich użytkowników komputera wymaga uprawnień administratora."
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include x64.nsh
!include "${PLIKI}"

!ifdef PODPISZ
  !finalize '${PODPISZ} "%1"'
  !uninstfinalize '${PODPISZ} "%1"'
!endif

Name "${NAZWA}"
OutFile "${WYJSCIE}"
BrandingText "${WYDAWCA}"
VIProductVersion "${WERSJA4}"
VIAddVersionKey /LANG=1045 "ProductName" "${NAZWA}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${WERSJA}"
VIAddVersionKey /LANG=1045 "FileVersion" "${WERSJA}"
VIAddVersionKey /LANG=1045 "CompanyName" "${WYDAWCA}"
VIAddVersionKey /LANG=1045 "FileDescription" "Instalator programu ${NAZWA}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "© ${WYDAWCA}"

!define MUI_ICON "${IKONA}"
!define MUI_UNICON "${IKONA}"
!define MUI_ABORTWARNING
; The program's long name takes a third line on the last page's title.
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_RUN_TEXT "Uruchom program"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${INFORMACJA}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Program działa tylko w 64-bitowym systemie Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
  ; Run elevated (as administrator), it installs for every user, unless
  ; the command line asks for this user alone.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CurrentUser" $1
  ${If} ${Errors}
  ${AndIf} $MultiUser.Privileges == "Admin"
    Call MultiUser.InstallMode.AllUsers
  ${EndIf}
  ; An older version never replaces a newer one.
  ReadRegStr $0 SHCTX "${KLUCZ}" "DisplayVersion"
  ${If} $0 != ""
    ${VersionCompare} "$0" "${WERSJA}" $1
    ${If} $1 == 1
      MessageBox MB_OK|MB_ICONSTOP "Zainstalowana jest już nowsza wersja programu ${NAZWA} ($0). \
        Aby zainstalować wersję ${WERSJA}, najpierw odinstaluj nowszą." /SD IDOK
      SetErrorLevel 3
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
  ; The version installed so far is taken away first, by its own
  ; uninstaller in its own folder, so no file of it is left behind.
  ReadRegStr $0 SHCTX "${KLUCZ}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${DEINSTALATOR}"
    DetailPrint "Usuwanie poprzedniej wersji z $0"
    ExecWait '"$0\${DEINSTALATOR}" /S /$MultiUser.InstallMode _?=$0'
    Delete "$0\${DEINSTALATOR}"
    RMDir "$0"
  ${EndIf}

  !insertmacro PlikiDrzewa
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${DEINSTALATOR}"
  CreateShortcut "$SMPROGRAMS\${NAZWA}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0 \
    SW_SHOWNORMAL "" "Weryfikacja pliku z przelewami"

  WriteRegStr SHCTX "${KLUCZ}" "DisplayName" "${NAZWA}"
  WriteRegStr SHCTX "${KLUCZ}" "DisplayVersion" "${WERSJA}"
  WriteRegStr SHCTX "${KLUCZ}" "Publisher" "${WYDAWCA}"
  WriteRegStr SHCTX "${KLUCZ}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr SHCTX "${KLUCZ}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${KLUCZ}" "UninstallString" \
    '"$INSTDIR\${DEINSTALATOR}" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${KLUCZ}" "QuietUninstallString" \
    '"$INSTDIR\${DEINSTALATOR}" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${KLUCZ}" "NoModify" 1
  WriteRegDWORD SHCTX "${KLUCZ}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${KLUCZ}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; Only the files this version put there: a folder the user chose may
  ; hold other things.
  !insertmacro UsunPlikiDrzewa
  Delete "$INSTDIR\${DEINSTALATOR}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NAZWA}.lnk"
  DeleteRegKey SHCTX "${KLUCZ}"
SectionEnd
