#pragma once
// A failed step: the number and the description by which the failing
// operation names the failure. Thrown by any step; caught only by a Trap.

#include <QString>

namespace core {

struct Failure {
    int number = 0;
    QString description;

    static Failure invalidCall()
    {
        return {5, QStringLiteral("Invalid procedure call or argument")};
    }
    static Failure overflow() { return {6, QStringLiteral("Overflow")}; }
    static Failure outOfMemory() { return {7, QStringLiteral("Out of memory")}; }
    static Failure divisionByZero() { return {11, QStringLiteral("Division by zero")}; }
    static Failure typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }
    static Failure fileNotFound() { return {53, QStringLiteral("File not found")}; }
    static Failure permissionDenied() { return {70, QStringLiteral("Permission denied")}; }
    static Failure pathAccess() { return {75, QStringLiteral("Path/File access error")}; }
    static Failure indexOutOfBounds() { return {35600, QStringLiteral("Index out of bounds")}; }
};

} // namespace core
