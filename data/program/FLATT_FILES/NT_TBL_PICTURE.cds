<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="PICTURE_A" fieldtype="string" WIDTH="255"/>
<FIELD attrname="PICTURE_B" fieldtype="string" WIDTH="255"/>
<FIELD attrname="PICTURE_S" fieldtype="string" WIDTH="255"/>
<FIELD attrname="PICTURE_T" fieldtype="string" WIDTH="255"/>
<FIELD attrname="PICTURE_G" fieldtype="string" WIDTH="255"/>
<FIELD attrname="PICTURE_H" fieldtype="string" WIDTH="255"/>
<FIELD attrname="PICTURE_I" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENT_NO1" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CERTIFY_PATENT_NO2" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CERTIFY_PATENT_NO3" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CERTIFY_PATENT_NO4" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CERTIFY_PATENT_NO5" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CERTIFY_PATENTEE1" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENTEE2" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENTEE3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENTEE4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENTEE5" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE1" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE2" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE5" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENT_FEE1" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENT_FEE2" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENT_FEE3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENT_FEE4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENT_FEE5" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE_FORM1" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE_FORM2" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE_FORM3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE_FORM4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PRACTICE_FORM5" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_ADDRESS1" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_ADDRESS2" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_ADDRESS3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_ADDRESS4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_ADDRESS5" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CERTIFY_PATENT_FLG1" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_FLG2" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_FLG3" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_FLG4" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_FLG5" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_GENERAL1" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_GENERAL2" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_GENERAL3" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_GENERAL4" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_GENERAL5" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_PRIVATE1" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_PRIVATE2" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_PRIVATE3" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_PRIVATE4" fieldtype="string" WIDTH="1"/>
<FIELD attrname="CERTIFY_PATENT_PRIVATE5" fieldtype="string" WIDTH="1"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
