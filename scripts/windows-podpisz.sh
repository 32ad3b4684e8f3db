#!/usr/bin/env bash
# Signs Windows programs and installers (.exe, .msi) in place with
# osslsigncode (Authenticode, SHA-256) when a certificate is given:
#   WERYFIKACJA_PODPIS_PFX         the certificate with its key, PKCS#12
#   WERYFIKACJA_PODPIS_HASLO       its password
#   WERYFIKACJA_PODPIS_ZNACZNIK    optional: an RFC 3161 timestamp server's
#                                  URL, so the signature outlives the
#                                  certificate
# Without the first two it signs nothing and exits 0; `--czy` exits 0 only
# when a certificate is given.
#   scripts/windows-podpisz.sh FILE...
#   scripts/windows-podpisz.sh --czy
set -euo pipefail
pfx=${WERYFIKACJA_PODPIS_PFX:-}
if [ -z "$pfx" ] || [ -z "${WERYFIKACJA_PODPIS_HASLO+x}" ]; then
  [ "${1:-}" = --czy ] && exit 1
  exit 0
fi
[ "${1:-}" = --czy ] && exit 0
[ -r "$pfx" ] || { echo "windows-podpisz: cannot read $pfx" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The password through a private file, not on a command line others can list.
(umask 077 && printf '%s' "$WERYFIKACJA_PODPIS_HASLO" >"$work/haslo")
for plik in "$@"; do
  rm -f "$work/podpisany"
  osslsigncode sign -pkcs12 "$pfx" -readpass "$work/haslo" -h sha256 \
    -n "Tarmeko_weryfikacja_pliku" \
    ${WERYFIKACJA_PODPIS_ZNACZNIK:+-ts "$WERYFIKACJA_PODPIS_ZNACZNIK"} \
    -in "$plik" -out "$work/podpisany" >"$work/log" 2>&1 ||
    { cat "$work/log" >&2; echo "windows-podpisz: could not sign $plik" >&2; exit 1; }
  # In place, keeping the file's mode.
  cat "$work/podpisany" >"$plik"
done
