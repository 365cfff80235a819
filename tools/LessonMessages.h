#pragma once
// Russian texts of the lesson tool for the problems found by the lesson rules; shared by the
// builder (which counts lines of the word list) and the checker (which counts entries).
#include <string>
#include <vector>

#include "tools/LessonRules.h"

namespace verbaro::lesson {

// How the places of a problem are named: lines of a word list or entries of a lesson file.
enum class Place { Line, Entry };

std::string DescribeOverflow(const MergeOverflow& overflow, Place place);
std::string DescribeUnaskable(const EntryText& entry, Place place);
std::string DescribeInfoGivingAnswer(const InfoGivingAnswer& found, Place place);
std::string DescribeSmallExamGroup(const SmallExamGroup& group, Place place);
std::string JoinNumbers(const std::vector<int>& numbers);

// What the learner cannot type in an entry: the word in Conspect-1, each translation in
// Conspect-2 (except in entries with grammar "~~", which the reversed modes leave out). One
// message per text, naming the first character that no key gives; empty when all can be typed.
std::vector<std::string> DescribeUntypable(const EntryText& entry);

}  // namespace verbaro::lesson
