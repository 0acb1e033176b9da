#!/usr/bin/env bash
# Fetches real LC-MS/MS data that some tests and benchmarks use: two Orbitrap runs of a bovine
# serum albumin digest (BSA2.mzML, BSA3.mzML) and a protein database of 18 proteins plus a
# bacterial proteome (proteins.fasta, and proteins-target-decoy.fasta). They ship as example
# data of Debian's openms-doc package; only the package's files are used.
# Usage: fetch-real-data.sh [FOLDER]   (default: ${XDG_CACHE_HOME:-~/.cache}/zar-real-data)
# Prints the folder. Quick when the files are already there. Tests that need the files skip
# when they are missing (ZAR_REAL_DATA names the folder).
set -euo pipefail
out=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/zar-real-data}
mkdir -p "$out"
want=(BSA2.mzML BSA3.mzML proteins.fasta proteins-target-decoy.fasta)
have=1
for f in "${want[@]}"; do [ -s "$out/$f" ] || have=0; done
if [ $have -eq 0 ]; then
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  (cd "$tmp" && apt-get download openms-doc >/dev/null 2>&1) || {
    sudo_cmd=(); [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq >/dev/null
    (cd "$tmp" && apt-get download openms-doc >/dev/null)
  }
  dpkg -x "$tmp"/openms-doc_*.deb "$tmp/x"
  ex="$tmp/x/usr/share/doc/openms/examples"
  cp "$ex/BSA/BSA2.mzML" "$ex/BSA/BSA3.mzML" "$out/"
  cp "$ex/TOPPAS/data/BSA_Identification/18Protein_SoCe_Tr_detergents_trace.fasta" "$out/proteins.fasta"
  cp "$ex/TOPPAS/data/BSA_Identification/18Protein_SoCe_Tr_detergents_trace_target_decoy.fasta" "$out/proteins-target-decoy.fasta"
fi
echo "$out"
