# Beside the built test agent: its SHA-256 as CMake computes it (a second, independent hasher
# for the tests to compare with), and a copy signed with a certificate made here, so the tests
# can ask the system's signature check about a signature that chains to no trusted root.
# Where osslsigncode or openssl is missing, a note with the reason takes the copy's place.
#   cmake -DAGENT=<exe> -DOSSLSIGNCODE=<path or empty> -DOPENSSL=<path or empty>
#         -DSIGNER=<common name> -P TestAgentCopies.cmake

get_filename_component(dir "${AGENT}" DIRECTORY)
get_filename_component(stem "${AGENT}" NAME_WE)
file(SHA256 "${AGENT}" hash)
file(WRITE "${dir}/${stem}.sha256" "${hash}\n")

set(signed "${dir}/${stem}_signed.exe")
set(note "${dir}/${stem}_signed.skip")
file(REMOVE "${signed}" "${note}")

if(NOT OSSLSIGNCODE OR NOT OPENSSL)
  file(WRITE "${note}" "osslsigncode or openssl was not found when the tests were built\n")
  return()
endif()

set(keys "${dir}/agent-signing")
file(MAKE_DIRECTORY "${keys}")
if(NOT EXISTS "${keys}/cert.pem" OR NOT EXISTS "${keys}/key.pem")
  execute_process(
    COMMAND "${OPENSSL}" req -x509 -newkey rsa:2048 -nodes -keyout "${keys}/key.pem"
            -out "${keys}/cert.pem" -days 3650 -subj "/CN=${SIGNER}"
            -addext "extendedKeyUsage=codeSigning"
    RESULT_VARIABLE made OUTPUT_QUIET ERROR_VARIABLE made_errors)
  if(NOT made EQUAL 0)
    file(WRITE "${note}" "openssl could not make a certificate: ${made_errors}\n")
    return()
  endif()
endif()
execute_process(
  COMMAND "${OSSLSIGNCODE}" sign -certs "${keys}/cert.pem" -key "${keys}/key.pem"
          -n "Zorvik test agent" -in "${AGENT}" -out "${signed}"
  RESULT_VARIABLE signed_result OUTPUT_QUIET ERROR_VARIABLE sign_errors)
if(NOT signed_result EQUAL 0)
  file(REMOVE "${signed}")
  file(WRITE "${note}" "osslsigncode could not sign the agent: ${sign_errors}\n")
endif()

# Two more copies for the verdicts, their certificates SHA-1-signed and carried in the
# signature (Wine 8 calls any signature trusted whose certificate is SHA-256-signed or that
# carries no root): one by a vendor whose root the tests trust in their own prefix
# (zorvik_test_agent_vendor.exe, the root beside it as zorvik_test_agent_root.cer), one by a
# certificate that signed itself (zorvik_test_agent_selfsigned.exe). Each is replaced by a
# .skip note saying why where it cannot be made.
function(agent_copy_failed name why)
  file(REMOVE "${dir}/${stem}_${name}.exe")
  file(WRITE "${dir}/${stem}_${name}.skip" "${why}\n")
endfunction()

function(run_or_note name)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    set(copy_ok FALSE PARENT_SCOPE)
    agent_copy_failed(${name} "${errors}")
  endif()
endfunction()

foreach(name vendor selfsigned)
  file(REMOVE "${dir}/${stem}_${name}.exe" "${dir}/${stem}_${name}.skip")
endforeach()
set(sha1_keys "${keys}/sha1")
file(MAKE_DIRECTORY "${sha1_keys}")
file(WRITE "${sha1_keys}/leaf.ext" "basicConstraints=CA:FALSE\nextendedKeyUsage=codeSigning\n")

set(copy_ok TRUE)
if(NOT EXISTS "${sha1_keys}/leaf.pem")
  run_or_note(vendor "${OPENSSL}" req -x509 -sha1 -newkey rsa:2048 -nodes
              -keyout "${sha1_keys}/root-key.pem" -out "${sha1_keys}/root.pem" -days 3650
              -subj "/CN=Zorvik Test Root" -addext "basicConstraints=critical,CA:TRUE"
              -addext "keyUsage=critical,keyCertSign,cRLSign")
  if(copy_ok)
    run_or_note(vendor "${OPENSSL}" req -new -newkey rsa:2048 -nodes
                -keyout "${sha1_keys}/leaf-key.pem" -out "${sha1_keys}/leaf.csr"
                -subj "/CN=Zorvik Test Vendor")
  endif()
  if(copy_ok)
    run_or_note(vendor "${OPENSSL}" x509 -req -sha1 -in "${sha1_keys}/leaf.csr"
                -CA "${sha1_keys}/root.pem" -CAkey "${sha1_keys}/root-key.pem" -set_serial 2
                -days 3650 -extfile "${sha1_keys}/leaf.ext" -out "${sha1_keys}/leaf.pem")
  endif()
endif()
if(copy_ok)
  run_or_note(vendor "${OPENSSL}" x509 -in "${sha1_keys}/root.pem" -outform DER
              -out "${dir}/${stem}_root.cer")
endif()
if(copy_ok)
  run_or_note(vendor "${OSSLSIGNCODE}" sign -certs "${sha1_keys}/leaf.pem"
              -ac "${sha1_keys}/root.pem" -key "${sha1_keys}/leaf-key.pem"
              -n "Zorvik test agent" -in "${AGENT}" -out "${dir}/${stem}_vendor.exe")
endif()

set(copy_ok TRUE)
if(NOT EXISTS "${sha1_keys}/self.pem")
  run_or_note(selfsigned "${OPENSSL}" req -x509 -sha1 -newkey rsa:2048 -nodes
              -keyout "${sha1_keys}/self-key.pem" -out "${sha1_keys}/self.pem" -days 3650
              -subj "/CN=Zorvik Self Signer" -addext "extendedKeyUsage=codeSigning")
endif()
if(copy_ok)
  run_or_note(selfsigned "${OSSLSIGNCODE}" sign -certs "${sha1_keys}/self.pem"
              -key "${sha1_keys}/self-key.pem" -n "Zorvik test agent" -in "${AGENT}"
              -out "${dir}/${stem}_selfsigned.exe")
endif()
