// Base types of the GenICam library: strings and the exception class.
#ifndef GENICAM_GCBASE_H
#define GENICAM_GCBASE_H

#include <GenICam/GCString.h>
#include <GenICam/GCException.h>

#endif
