#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Connection;

// The bed numbers of a list typed into the batch dialog, in their order and with repeats.
// Numbers are separated by commas (the full-width "，" too) or line breaks; blanks and control
// characters around a number are dropped and empty parts add nothing.
QStringList ParseBedNumbers(const QString& list);

// What every bed of one batch receives besides its number.
struct BedCharges {
    double deposit = 0;              // expand12
    double rent = 0;                 // expand13
    double custom[4] = {0, 0, 0, 0}; // field1 .. field4
    QString description;             // expand30
};

// What a batch did with each number of its list.
struct BatchOutcome {
    struct Failure {
        QString number;
        QString reason;
    };
    QStringList created;
    QStringList existing; // already a bed: not created again
    QStringList repeated; // occurred earlier in the same list
    QList<Failure> failed;
};

// Creates one bed (baseinfo row of flag 4) per number, in list order and in one transaction.
// Each bed takes the next identifier of "baseinfo" from maxvalue, as AllocateId hands them out.
// A number that is already a bed, or that occurred earlier in the list, is skipped (bed numbers
// compare as the database compares codes, without regard to letter case). A bed that cannot be
// written is left out alone; the others are kept.
BatchOutcome CreateBeds(Connection& connection, const QStringList& numbers, const BedCharges& charges);

// "铺位批量增加完毕！" followed by how many beds were created and which numbers were left out.
QString BatchSummary(const BatchOutcome& outcome);
