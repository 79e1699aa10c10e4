// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveListing.h"
#include "DayTexts.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

// The static web page of an archive, index.html: the two day stacks at the
// top, then a calendar of thumbnails per month, each linking to the day's
// chart. Plain HTML and CSS that shrink to a phone's width; every path is
// relative, so the page reads the same from file:// and from a web server.

struct PageLink {
    QString href; // relative to the page
    QString text;
};

struct PageDay {
    Day date;
    QString chart;     // the chart's image, "261208.png"
    QString thumbnail; // "thumbs/261208.png"
    QString problem;   // why the log could not be read; empty when it was
    // Further links of the day, shown under its thumbnail (an animation of
    // the day, say), each after the chart's own.
    QList<PageLink> links;
};

struct PageImage {
    QString src;
    QSize size; // logical pixels, as the page lays the image out
    QString alt;
};

struct ArchivePage {
    QString name;               // the archive's folder name, or empty
    std::vector<PageDay> days;  // by date, one per date
    PageImage timeStack;
    PageImage directionStack;
    QStringList leftOut;        // log names that fill no day
};

QByteArray ArchivePageHtml(const ArchivePage& page);
