#pragma once

#include <cstdint>
#include <string>

#include "modbus/link_events.h"

namespace lq {

// The texts below are in the interface language; the Chinese is shown here.

// The name of a Modbus exception code as a technician looks it up: Chinese with the English term, such as
// "非法数据地址 (Illegal Data Address)", in English the term alone. Codes 01 to 0B are named; any other code
// is called unknown.
std::string ExceptionName(std::uint8_t code);

// What a frame the master sent asks for, read from its own bytes: "从站 1 读块 0（起始 0，数量 10）",
// "从站 1 写寄存器 36 = 750".
std::string DescribeRequest(const SentRequest& request);

// What a delivery was, from its bytes and the master's verdict on it.
std::string DescribeDelivery(const Delivery& delivery);

// The "无应答" line of a read that had no delivery by the next poll tick.
std::string DescribeNoReply(const NoReply& noReply);

// True for every delivery that is not a good answer to what was asked.
bool IsFault(DeliveryVerdict verdict);

} // namespace lq
