#pragma once

#include <QString>

// How many rows of each table fillDemoData adds.
struct DemoSizes
{
    int members = 200;
    int employees = 12;
    int positions = 6;
    int books = 12;
    int movements = 600;
    int events = 40;
    // Members given phone-sized photographs (of about photoKilobytes each);
    // when negative, one member in 25 gets a small placeholder portrait.
    int photos = -1;
    int photoKilobytes = 2400;
};

// Adds Brazilian sample rows to the database at `path`, creating the file
// first when there is none. Codes continue after the largest code of each
// table, so a second call appends. The rows come from a fixed seed (mixed with
// each table's first new code): the same file and sizes give the same rows,
// except that events are dated around today. The church name (parameter 1)
// is added when missing. DbError, in Portuguese, on any refusal.
void fillDemoData(const QString &path, const DemoSizes &sizes);
