#pragma once
// The Qt headers the window library uses, compiled once as the library's precompiled header.
// Each source still includes what it uses; this only makes the build quick.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QObject>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
