#pragma once

// Event types of the data items and transformations. Handlers receive the
// sending component first and pass results back through references.

#include <QObject>
#include <functional>

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TConvertToUserEvent = std::function<void(QObject* Sender, int EcuValue, double& ConvertedValue)>;
using TConvertToEcuEvent = std::function<void(QObject* Sender, double UserValue, int& ConvertedValue)>;
using TBeforeSetDataEvent = std::function<void(QObject* Sender, double* newValue, double prevValue,
                                               int RowIndex, int ColIndex, bool& Abort)>;
using TErrorEvent = std::function<void(QObject* Sender, int ErrorCode, bool Writing)>;
