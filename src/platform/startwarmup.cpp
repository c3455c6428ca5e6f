#include "startwarmup.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QStringList>

TStartWarmUp::TStartWarmUp()
    : m_thread([] {
          QFontDatabase::families();
          QImageReader::supportedImageFormats();
      })
{
}

TStartWarmUp::~TStartWarmUp()
{
    m_thread.join();
}
