#!/usr/bin/perl
# Reads a manual page in roff and marks a break point (\:) between the characters of its Chinese text:
# groff breaks lines only at blanks, which Chinese has none of. No line starts with closing punctuation
# ("，", "）") and none ends with opening punctuation ("（").
use strict;
use warnings;
use utf8;
binmode STDIN, ':encoding(UTF-8)';
binmode STDOUT, ':encoding(UTF-8)';
while (my $line = <STDIN>) {
    $line =~ s/(?<=[\p{Han}\p{InCJKSymbolsAndPunctuation}\p{InHalfwidthAndFullwidthForms}”])
               (?<![（“《「])
               (?=[^\s，。：；、）”》」！？])/\\:/gx;
    print $line;
}
