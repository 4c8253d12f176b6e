#!/usr/bin/env bash
# data/ and util/ must stay free of widgets so they can be tested without a display.
set -u
root="$1"
hits=$(grep -rnE '#include *<(QtWidgets/|QtGui/|QWidget|QDialog|QMainWindow|QApplication|QMessageBox|QLabel|QLineEdit|QPushButton|QTableView|QAbstractButton|QGuiApplication|QPainter|QPixmap|QImage|QColor)' \
    "$root/data" "$root/util" 2>/dev/null)
if [ -n "$hits" ]; then
    echo "widget or GUI headers under data/ or util/:"
    echo "$hits"
    exit 1
fi
echo "layers clean"
