#!/usr/bin/env bash
# Re-reads the translatable texts of the sources into the Qt Linguist files, keeping the
# translations already made: the plug-in's into translations/stampannot_<locale>.ts, the
# reader's into translations/minireader_<locale>.ts. Translate the new entries with
# `linguist`; the build compiles the files with lrelease.
set -euo pipefail
cd "$(dirname "$0")/.."
locales=(zh_CN)
for locale in "${locales[@]}"; do
  lupdate -no-obsolete -locations none picker seals operations placement plugin \
    -ts "translations/stampannot_${locale}.ts"
  lupdate -no-obsolete -locations none host tools/customstamp \
    -ts "translations/minireader_${locale}.ts"
done
