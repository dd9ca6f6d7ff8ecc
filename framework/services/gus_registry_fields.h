#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/services/gus_registry_reply.h"

namespace slownik::svc {

//! One unit of the statistics office's register as its search and report name it.
struct GusEntity {
  std::string regon;
  std::string nip;
  std::string name;
  std::string province;
  std::string county;
  std::string town;
  std::string postcode;
  std::string street;       //!< without the numbers; may be empty in villages
  std::string houseNumber;
  std::string flatNumber;
  std::string country;      //!< symbol from the report; "" when it gave none
  std::string email;
  std::string phone;
  std::string type;         //!< "P" legal person, "F" natural person; "LP"/"LF" their local units
  int silo = 0;             //!< which register of natural persons' activity holds it
};

//! What a search by tax number answered.
struct GusSearchResult {
  bool readable = true;              //!< false: the text is not the register's XML
  std::vector<GusEntity> entities;
  int errorCode = 0;                 //!< the register's own code; 4 = nothing found
  std::string errorMessage;          //!< its Polish text
};

//! Reads the data of a search (the "root/dane" document the search result carries).
//! An empty text is how older versions of the service say nothing was found.
GusSearchResult parseSearch(std::string_view xml);

//! The entity itself among the units a tax number gives: the legal or natural person
//! rather than one of its local units; nullptr when there are none.
const GusEntity* mainEntity(const std::vector<GusEntity>& entities);

//! The name of the full report that holds the entity's contact data; "" when the
//! register has no such report for it.
std::string reportName(const GusEntity& entity);

//! Adds what the full report knows beyond the search (e-mail, phone, country symbol)
//! to `entity`; false when the text is not the register's XML (entity unchanged).
bool addReport(std::string_view xml, GusEntity& entity);

//! The street with the house and flat number as one line ("ul. Krucza 5/2"); where
//! the place has no streets, the town stands for the street, as Polish addresses do.
std::string streetLine(const GusEntity& entity);

//! Fills the reply record from the entity, with the status "OK".
void fillReply(const GusEntity& entity, GusReplyRecord& reply);

}  // namespace slownik::svc
