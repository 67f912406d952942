// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Theme.h"

#include "ui/Artwork.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>

namespace zantrove {

namespace {
const char* const kStyleSheet = R"(
QMainWindow, QDialog { background: #F8FAFC; }
QWidget { color: #1E293B; }
QLabel[role="stepTitle"] { color: white; font-weight: 600; font-size: 11pt; padding-left: 4px; }
QLabel[role="stepDescription"] { color: #475569; }
QLabel[role="question"] { font-weight: 600; color: #1E293B; }
QLabel[role="brand"] { color: white; font-size: 15pt; font-weight: 700; }
QLabel[role="stepMark"] { color: #BFDBFE; padding: 6px 8px; border-radius: 6px; }
QLabel[role="stepMark"][current="true"] { color: white; background: rgba(255,255,255,0.16); font-weight: 600; }
QLabel[role="deviceCaption"] { font-weight: 600; color: #334155; }
QLabel[role="reviewCaption"] { color: #475569; }
QLabel[role="reviewValue"] { font-weight: 600; }
QLabel[role="tip"] { color: #475569; }
QLabel[role="reviewSummary"] { color: #1E293B; padding: 2px 4px; }
QWidget[role="deviceTile"] { background: white; border: 1px solid #CBD5E1; border-radius: 12px; }
QWidget[role="deviceTile"][selected="true"] { border: 2px solid #2563EB; background: #EFF6FF; }
QWidget[role="card"] { background: white; border: 1px solid #CBD5E1; border-radius: 10px; }
QPushButton[role="clickArea"] { background: transparent; border: none; border-radius: 12px; }
QPushButton[role="clickArea"]:hover { background: rgba(37,99,235,0.06); }
QPushButton[role="clickArea"]:focus { border: 2px dashed #2563EB; }
QToolButton[picture="true"] { border: 2px solid transparent; border-radius: 8px; padding: 2px; }
QToolButton[picture="true"]:hover { background: rgba(37,99,235,0.10); }
QToolButton[picture="true"]:focus { background: rgba(37,99,235,0.14); border-color: #2563EB; }
QLabel[role="link"]:focus, zantrove--ClickLabel:focus { background: rgba(37,99,235,0.14); border-radius: 3px; }
QTreeView { background: white; border: 1px solid #CBD5E1; border-radius: 8px; alternate-background-color: #F8FAFC;
            selection-background-color: #2563EB; selection-color: white; }
QHeaderView::section { background: #F1F5F9; color: #334155; border: none; border-bottom: 1px solid #CBD5E1;
                       padding: 5px 8px; font-weight: 600; }
QLineEdit, QComboBox { background: white; border: 1px solid #CBD5E1; border-radius: 6px; padding: 4px 8px;
                       min-height: 20px; }
QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: center right; width: 22px; border: none; }
QComboBox::down-arrow { image: url(:/buttons/chevron-down.svg); width: 12px; height: 12px; }
QLineEdit:focus, QComboBox:focus { border: 1px solid #2563EB; }
QComboBox:disabled, QLineEdit:disabled { background: #F1F5F9; color: #94A3B8; }
QPushButton { background: white; border: 1px solid #CBD5E1; border-radius: 6px; padding: 5px 14px; }
QPushButton:hover { border-color: #2563EB; }
QPushButton:default { border: 2px solid #2563EB; }
QPushButton:focus { border: 2px dashed #2563EB; }
QTreeView:focus { border: 1px solid #2563EB; }
QStatusBar { background: #F1F5F9; border-top: 1px solid #CBD5E1; color: #475569; }
QStatusBar::item { border: none; }
QProgressBar { border: 1px solid #CBD5E1; border-radius: 5px; background: white; text-align: center; }
QProgressBar::chunk { background: #2563EB; border-radius: 4px; }
)";
} // namespace

void ApplyTheme(QApplication& application)
{
    ::InitZantroveArtwork(); // the style sheet names pictures of the artwork
    application.setStyle(QStyleFactory::create("Fusion"));
    // The artwork and the style sheet are light: every role starts from Fusion's own light palette, so
    // none comes from a dark desktop palette (light text on our white lists, dark tool tips).
    QPalette palette = application.style()->standardPalette();
    palette.setColor(QPalette::Window, QColor("#F8FAFC"));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, QColor("#2563EB"));
    palette.setColor(QPalette::Link, QColor("#2563EB"));
    application.setPalette(palette);
    QToolTip::setPalette(palette);
    application.setStyleSheet(kStyleSheet);
}

} // namespace zantrove
