#!/usr/bin/env bash
# Fails when a file reaches above its layer: runtime/ and platform/ never include foundation/,
# the data-file dialog or a program folder, and nothing below the windows includes a widget
# header (platform/ui, foundation/ui and the folders above them may); a program's rules
# (its core/ folder) include neither widgets nor the program's windows; no program folder
# includes another's; no window includes its program's Main.
set -euo pipefail
cd "$(dirname "$0")/.."

programs=(counter reports multiport)
status=0
fail() { echo "layering: $1"; status=1; }

# Widget headers are the ones Qt Widgets installs; "QtWidgets/..." spellings count too.
widgets_dir=$(find /usr/include -maxdepth 4 -type d -name QtWidgets 2>/dev/null | head -n 1)
if [ -n "$widgets_dir" ]; then
  widget_pattern="#include <(QtWidgets/)?($(find "$widgets_dir" -maxdepth 1 -type f -name 'Q[A-Z]*' \
    ! -name '*.h' -printf '%f\n' | sort -u | paste -sd '|'))>"
else
  widget_pattern='#include <(QtWidgets/)?(QWidget|QDialog|QApplication|QMessageBox|QLabel|QPushButton|QFileDialog|QLineEdit|QComboBox|QCheckBox|QMainWindow|QMenu|QSystemTrayIcon)>'
fi

sources() { git ls-files -- "$@" | grep -E '\.(h|cpp)$' || true; }

cores=$(for p in "${programs[@]}"; do [ -d "$p" ] && find "$p" -type d -name core; done || true)
below_windows=$( (sources runtime platform foundation; for c in $cores; do sources "$c"; done) |
  grep -v -E '^(platform/ui|foundation/ui)/' || true)
for f in $below_windows; do
  if grep -n -E "$widget_pattern" "$f" >/dev/null; then
    fail "$f includes a widget header: $(grep -n -E "$widget_pattern" "$f" | head -n 1)"
  fi
done

for f in $(sources runtime platform); do
  if grep -n -E "#include \"(foundation|datafile_dialog|$(IFS='|'; echo "${programs[*]}"))/" "$f" >/dev/null; then
    fail "$f includes a layer above it: $(grep -n -E '#include "(foundation|datafile_dialog|counter|reports|multiport)/' "$f" | head -n 1)"
  fi
done

for f in $(sources runtime); do
  if grep -n -E '#include "(platform|tests|tools)/' "$f" >/dev/null; then
    fail "$f includes a layer above it: $(grep -n -E '#include "(platform|tests|tools)/' "$f" | head -n 1)"
  fi
done

for c in $cores; do
  program=${c%/core}
  for f in $(sources "$c"); do
    if grep -E "#include \"$program/" "$f" | grep -v -q -E "#include \"$c/"; then
      fail "$f includes its program's windows: $(grep -n -E "#include \"$program/" "$f" | grep -v -E "#include \"$c/" | head -n 1)"
    fi
  done
done

for p in "${programs[@]}"; do
  for f in $(sources "$p"); do
    for other in "${programs[@]}"; do
      [ "$other" = "$p" ] && continue
      if grep -n -E "#include \"$other/" "$f" >/dev/null; then
        fail "$f includes another program's code: $(grep -n -E "#include \"$other/" "$f" | head -n 1)"
      fi
    done
  done
done

# Main starts a program and no window calls back into it: only Main itself, main.cpp and the
# reports program's automation class (whose Run runs Main again) include a program's Main.h.
for main in $(git ls-files -- "${programs[@]}" | grep -E '/Main\.h$' || true); do
  folder=${main%/Main.h}
  for f in $(sources "$folder"); do
    case "$f" in
    "$folder/Main.cpp" | "$folder/main.cpp" | reports/clsBrantockReports.*) continue ;;
    esac
    if grep -n -E "#include \"$main\"" "$f" >/dev/null; then
      fail "$f, a window, includes its program's Main: $(grep -n -E "#include \"$main\"" "$f" | head -n 1)"
    fi
  done
done

[ $status -eq 0 ] && echo "layering: every include stays within its layer"
exit $status
