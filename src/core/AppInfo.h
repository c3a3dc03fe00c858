#pragma once

#include <QString>

namespace AppInfo {
// Application title; also the name of the single-instance lock.
inline const QString title = QStringLiteral("晴帆客户管理软件V10.0");
inline const QString databaseFileName = QStringLiteral("data100.dbf");
inline const QString attachmentFolderName = QStringLiteral("Q_UPFILE");
inline const QString settingsFileName = QStringLiteral("qnrt100.ini");
inline const QString manualFileName = QStringLiteral("qnrt100.doc");
inline const QString videoFileName = QStringLiteral("qnrt100.mp4");
// Where the help menu points for tutorials and the product's home page.
inline const QString downloadPage = QStringLiteral("https://www.example.com/qnrt100/download");
inline const QString homePage = QStringLiteral("https://www.example.com/qnrt100/");
}
