#pragma once
// Pins the default locale for one test scope and restores it afterwards.

#include <QLocale>

class LocaleGuard {
  public:
    explicit LocaleGuard(const QLocale& locale) : m_saved(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleGuard() { QLocale::setDefault(m_saved); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

  private:
    QLocale m_saved;
};
