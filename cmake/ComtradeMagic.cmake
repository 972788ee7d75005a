# The magic of COMTRADE configuration files for the desktop's type detection, which knows
# strings at byte ranges with bit masks and nothing more: the rules are enumerated here.
#   - a station line ending in the revision year ",199x" or ",2013" (then a control character:
#     CR, LF), with the next line's start in the form of the channel counts "TT,##A" or
#     "TT,##D" (the reader takes a count line that leaves out a zero count);
#   - for a 1991 file whose station line names no year, the full count line "TT,##A,##D".
# A digit is matched by its high nibble (0x30), a letter without regard to case. Counts of up
# to four digits are known, as many as a recorder writes.
function(tv_comtrade_magic out)
  set(max_digits 4)
  # The lenient count-line starts, nested under each year rule.
  set(counts "")
  foreach(t RANGE 1 ${max_digits})
    string(REPEAT "0" ${t} tv)
    string(REPEAT "F0" ${t} tm)
    foreach(x RANGE 1 ${max_digits})
      string(REPEAT "0" ${x} xv)
      string(REPEAT "F0" ${x} xm)
      # 0xD8 keeps 'A' and 'D' (and their lower case) alike: the letter that ends the count.
      string(APPEND counts
        "        <match type=\"string\" value=\"\\n${tv},${xv}A\" mask=\"0xFF${tm}FF${xm}D8\" offset=\"0:320\"/>\n")
    endforeach()
  endforeach()
  set(text "    <magic priority=\"60\">\n")
  string(APPEND text "      <match type=\"string\" value=\",1990\\x08\" mask=\"0xFFFFFFFFF0F8\" offset=\"0:256\">\n${counts}      </match>\n")
  string(APPEND text "      <match type=\"string\" value=\",2013\\x08\" mask=\"0xFFFFFFFFFFF8\" offset=\"0:256\">\n${counts}      </match>\n")
  foreach(t RANGE 1 ${max_digits})
    string(REPEAT "0" ${t} tv)
    string(REPEAT "F0" ${t} tm)
    foreach(a RANGE 1 ${max_digits})
      string(REPEAT "0" ${a} av)
      string(REPEAT "F0" ${a} am)
      foreach(d RANGE 1 ${max_digits})
        string(REPEAT "0" ${d} dv)
        string(REPEAT "F0" ${d} dm)
        string(APPEND text
          "      <match type=\"string\" value=\"\\n${tv},${av}A,${dv}D\" mask=\"0xFF${tm}FF${am}DFFF${dm}DF\" offset=\"0:256\"/>\n")
      endforeach()
    endforeach()
  endforeach()
  string(APPEND text "    </magic>")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
